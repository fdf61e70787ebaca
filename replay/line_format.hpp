#pragma once
// One event a line, as text that reads the same on every platform:
//   time SECONDS
//   key CODE MISSES
//   game ENDING FIRST-LEVEL LAST-LEVEL POINTS LIVES "NAME"
// Levels are key codes; ENDING is lost, won or left; the name is quoted,
// with \\, \" and \xHH for every byte that is not printable ASCII.

#include "replay/recording.hpp"

#include <string>
#include <string_view>
#include <variant>

namespace replay {

// The two lines every recording opens with.
std::string header_lines();
// This program's version and platform, as the second line names them.
std::string this_program();

// Whether a recording whose second line names `made_by` (the text after
// "orbitrix ") replays on this build as it played: its version is this one
// or an earlier one whose game runs the same, on any platform.
bool replays_identically(std::string_view made_by);

// The event's line, its line break included.
std::string line_of(const Event& event);

// The event a line holds (without its line break), or what is wrong with it.
std::variant<Event, std::string> parse_event(std::string_view line);

// A name as the format quotes it.
std::string quoted(std::string_view bytes);

} // namespace replay
