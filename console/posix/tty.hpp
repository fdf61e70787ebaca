#pragma once
// The two things every part of the terminal backend does with the
// terminal's file: write to it, and ask its size.

#include "console/native.hpp"

#include <optional>
#include <string_view>

namespace console::posix {

using TerminalSize = Size;

// None when the terminal does not say.
std::optional<TerminalSize> terminal_size(int fd);

// Writes all the bytes, one write() call unless the terminal takes less.
// False when the terminal is gone.
bool write_all(int fd, std::string_view bytes);

} // namespace console::posix
