#pragma once
// A live session's page, `/live/{id}`: the game as it is played, drawn by
// the board's own replay of the keys it receives, in the player the run
// pages use, fed by the session's stream (`/api/live/{id}/stream`). Once
// the session ends, the page is the run's.

#include <cstdint>
#include <string>

namespace board::pages {

std::string live_page(std::int64_t session);

} // namespace board::pages
