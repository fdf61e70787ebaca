#pragma once
// The tickets of the sessions before live play: how long one is kept, and
// the ids a run sent with them. A run sent afterwards is open whatever its
// tickets say; only a game the board sees played live is ranked.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board {

inline constexpr std::int64_t TICKET_LIFE_MS = 24LL * 3600 * 1000;

// The ids of "ID,ID,,ID"; none when some id is not a ticket's form.
std::optional<std::vector<std::string>> ticket_list(std::string_view text);

} // namespace board
