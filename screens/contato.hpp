#pragma once
// The address shown in the status panel and under the credit. The panel
// leaves it columns 63 to 79, so it must stay within 17 characters.

#include <string_view>

namespace screens {

inline constexpr std::string_view contato = "jogo@example.org";
static_assert(contato.size() <= 17);

} // namespace screens
