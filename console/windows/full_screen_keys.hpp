#pragma once
// How a Windows console is asked for its full-screen display: Alt+Enter,
// synthesised as the keyboard would send it, Enter released before Alt. The
// console takes it as a switch, so a second request goes back to the window.

#include <array>
#include <cstdint>

namespace console {

struct KeyEvent {
    std::uint8_t virtual_key;
    std::uint8_t scan_code;
    std::uint32_t flags; // 2: the key goes up
};

inline constexpr std::uint8_t vk_menu = 0x12;
inline constexpr std::uint8_t vk_return = 0x0d;
inline constexpr std::uint32_t key_up = 2;

inline constexpr std::array<KeyEvent, 4> full_screen_keys{{
    {vk_menu, 56, 0},
    {vk_return, 28, 0},
    {vk_return, 28, key_up},
    {vk_menu, 56, key_up},
}};

} // namespace console
