#pragma once
// The modes a session's terminal is put in while the game shows on it, and
// the way back, as the terminal receives them.

#include <string_view>

namespace console::ansi {

// The alternate screen, autowrap off (so the bottom-right cell can be
// written without scrolling), plain colours, cursor keys in normal mode.
std::string_view enter_sequence();
// Everything enter_sequence and the game changed, put back; the cursor shown.
std::string_view leave_sequence();

} // namespace console::ansi
