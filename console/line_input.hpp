#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace console {

// Moves the cursor to the start of the next buffer row.
void line_break();

// See console::gets.
void read_line(std::span<char> buffer);

// The integer at the start of text as "%i" reads one (strtol with base 0),
// clamped to int; nothing when the text does not start with a number.
std::optional<int> parse_int_like_scanf(std::string_view text);

} // namespace console
