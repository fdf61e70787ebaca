#pragma once
// A game's name and levels as a person reads them, on a terminal or a web
// page: the player's table and lines, the board's answers and its pages.

#include <string>
#include <string_view>

namespace common {

// A game's levels as its end screen shows them: "3", or "1 a 2" when it rose.
std::string levels_text(int start, int reached);

// Control bytes, and C1 controls in UTF-8, become '?', so a name from a
// hand-edited file cannot drive the terminal it is printed on.
std::string printable(std::string_view name);

} // namespace common
