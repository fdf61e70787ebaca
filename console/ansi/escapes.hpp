#pragma once
// The escape sequences the terminal backend sends from more than one place.

#include <string_view>

namespace console::ansi {

// Control Sequence Introducer: every CSI sequence starts with it.
inline constexpr std::string_view csi = "\x1b[";
inline constexpr std::string_view plain_colours = "\x1b[0m";
inline constexpr std::string_view cursor_home = "\x1b[H";
inline constexpr std::string_view show_cursor = "\x1b[?25h";
inline constexpr std::string_view hide_cursor = "\x1b[?25l";
// EL: erases from the cursor to the row's end in the pen's colours.
inline constexpr std::string_view erase_to_row_end = "\x1b[K";
// Plain colours, the cursor home, every cell erased: a terminal whose
// content, pen and cursor are all known.
inline constexpr std::string_view clear_screen = "\x1b[0m\x1b[H\x1b[2J";

} // namespace console::ansi
