#pragma once
// What the game's page gives the browser backend: the terminal it draws in,
// the keys typed there, the clock, and the page's sound. Each is a function
// the page's script sets on the module before the game starts (see
// server/web/play.js).

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace console::browser {

// Bytes for the page's terminal.
void write_terminal(std::string_view bytes);
// Up to `room` bytes typed since the last read; how many.
std::size_t read_typed(std::uint8_t* into, std::size_t room);
// The browser's monotonic clock, in ms.
std::int64_t page_now_ms();
// A tone starts now for `ms`; the page plays it if sound is allowed yet.
void sound_tone(int hz, int ms);
// Gives the page its turn for up to `ms`: keys, drawing, timers.
void yield_to_page(int ms);
// Whether the page is in view; a hidden tab holds the game.
bool page_visible();

} // namespace console::browser
