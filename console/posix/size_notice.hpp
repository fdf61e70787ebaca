#pragma once
// What the terminal shows instead of the game while it is too small for
// the game's screen.

#include "console/posix/terminal_modes.hpp"

#include <string>

namespace console::posix {

// The smallest terminal the game's screens fit in.
inline constexpr TerminalSize needed_size{80, 49};

bool fits(TerminalSize have, TerminalSize need = needed_size);

// The bytes that clear the terminal and show, word-wrapped to its width,
// the size needed and the size it has.
std::string size_notice(TerminalSize have, TerminalSize need = needed_size);

} // namespace console::posix
