#pragma once
// Why a game is open, as its page says it: the board's reasons are English
// one-liners in the API; a person reads them in the board's language.

#include <string>
#include <string_view>

namespace board::pages {

// Empty for no reason; the English text itself for one the page does not
// know.
std::string open_reason_text(std::string_view reason);

} // namespace board::pages
