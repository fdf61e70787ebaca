#pragma once
// The screen the game draws on, noting which cells of the visible window it
// writes, so a frame's check can look at those alone.

#include "console/current.hpp"
#include "console/memory_console.hpp"
#include "console/screen_buffer.hpp"

#include <array>
#include <utility>
#include <vector>

namespace teste {

class TouchedCells : public console::ScreenBuffer {
  public:
    using Position = std::pair<int, int>; // (column, row) from (1, 1)

    explicit TouchedCells(console::MemoryScreen& screen) : screen_(screen) {}

    // The cells written since the last call, each once.
    std::vector<Position> take();

    console::BufferInfo info() const override { return screen_.info(); }
    void fill_attribute(std::uint16_t attribute, int count, console::Coord from) override;
    void fill_character(std::uint8_t ch, int count, console::Coord from) override;
    bool set_cursor(console::Coord to) override { return screen_.set_cursor(to); }
    void set_attribute(std::uint16_t attribute) override { screen_.set_attribute(attribute); }
    void write(std::string_view bytes) override;

  private:
    static constexpr int columns = 80;
    static constexpr int rows = 50;
    // `count` cells from `from` on, wrapping at the buffer's right edge.
    void mark(console::Coord from, int count);

    console::MemoryScreen& screen_;
    std::array<bool, columns * rows> marked_{};
    std::vector<Position> list_;
};

// The in-memory console, drawn on through a recorder of the cells written.
struct WatchedConsole {
    console::MemoryScreen screen;
    console::MemoryPlatform platform;
    TouchedCells touched{screen};
    console::Installation installation{touched, platform};
};

} // namespace teste
