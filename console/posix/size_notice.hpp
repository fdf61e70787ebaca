#pragma once
// What the terminal shows instead of the session while it is too small for
// the session's screens.

#include "console/posix/terminal_modes.hpp"

#include <string>
#include <vector>

namespace console::posix {

bool fits(TerminalSize have, TerminalSize need);

// The bytes that clear the terminal and show the paragraphs, each
// word-wrapped to its width, as far down as its rows go.
std::string size_notice(const std::vector<std::string>& paragraphs, TerminalSize have);

} // namespace console::posix
