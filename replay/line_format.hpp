#pragma once
// One event a line, as text that reads the same on every platform:
//   time SECONDS
//   key CODE MISSES
//   game ENDING FIRST-LEVEL LAST-LEVEL POINTS LIVES "NAME"
// Levels are key codes; ENDING is lost, won or left. The name is quoted
// UTF-8: the game holds it in its code page (console/glyphs.hpp), and each
// byte is written as its character, or as \xHH when no character stands for
// it alone (the control bytes, 0xF0); \\ and \" are the backslash and the
// quote. Recordings from before wrote \xHH for every byte past ASCII: \xHH
// is always a code-page byte, so they read the same. No version marker is
// needed; a reader from before takes a written letter as its UTF-8 bytes,
// and finds the name differs from the one replayed.

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

// A name (code-page bytes) as the format quotes it.
std::string quoted(std::string_view bytes);

// A level key as a player reads it: the character, or "(tecla N)" for a key
// with none.
std::string level_text(int code);

} // namespace replay
