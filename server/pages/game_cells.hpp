#pragma once
// How a game's values read in the pages' tables, the same on the board and
// on a run's page.

#include "server/store.hpp"

#include <cstdint>
#include <string>

namespace board::pages {

// The name as typed, made safe to print and escaped.
std::string name_html(const std::string& name);
// "3" or "1 a 2", as the game's end screen shows the levels.
std::string levels_html(const Game& game);
// A <time> in UTC, as `orbitrix --scores` writes its dates.
std::string date_html(std::int64_t received_ms);
// The ending, marked with its own class for its colour.
std::string ending_html(const std::string& ending);

} // namespace board::pages
