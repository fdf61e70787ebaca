#pragma once
// UTF-8 text in another charset, for the program's lines to a terminal whose
// locale is not UTF-8.

#include <string>
#include <string_view>

namespace console::posix {

// `utf8` in `codeset` (as nl_langinfo names it): what the charset lacks is
// spelt as the C library transliterates it ("e" for an e with an accent in
// ASCII), or "?"; so is a byte that is not UTF-8. The text as it is when
// the codeset is UTF-8 or unknown to the C library.
std::string in_codeset(std::string_view utf8, const char* codeset);

} // namespace console::posix
