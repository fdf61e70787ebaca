#pragma once
// What the terminal shows instead of the session while it is too small for
// the session's screens.

#include "console/native.hpp"

#include <string>
#include <vector>

namespace console::ansi {

bool fits(Size have, Size need);

// The bytes that clear the terminal and show the paragraphs, each
// word-wrapped to its width, as far down as its rows go.
std::string size_notice(const std::vector<std::string>& paragraphs, Size have);

} // namespace console::ansi
