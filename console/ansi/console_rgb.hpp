#pragma once
// The sixteen colours of the classic PC console as 24-bit RGB, by the
// console's own colour number (blue in bit 0, red in bit 2, bright in bit 3):
// what the game's colour numbers mean, whatever a terminal's theme makes of
// them.

#include <array>
#include <cstdint>

namespace console::ansi {

inline constexpr std::array<std::uint32_t, 16> console_rgb{
    0x000000, 0x0000aa, 0x00aa00, 0x00aaaa, 0xaa0000, 0xaa00aa, 0xaa5500, 0xaaaaaa,
    0x555555, 0x5555ff, 0x55ff55, 0x55ffff, 0xff5555, 0xff55ff, 0xffff55, 0xffffff,
};

} // namespace console::ansi
