#pragma once
// A screen buffer held in memory: cells with a visible window inside them.
// The in-memory console draws on one; the terminal backend keeps its model
// of the screen in one and presents it.

#include "console/screen_buffer.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace console {

struct Cell {
    std::uint8_t ch = ' ';
    std::uint16_t attr = 7;
    friend bool operator==(Cell, Cell) = default;
};

class CellScreen : public ScreenBuffer {
  public:
    explicit CellScreen(int width = 80, int height = 300);

    // The visible window; by default the top 80x50 (clipped to the buffer).
    void set_window(Rect window);
    // Resizes the buffer, keeping what fits; the window is clipped to it.
    void resize(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Rect window() const { return window_; }
    Coord cursor() const { return cursor_; }
    std::uint16_t attribute() const { return attribute_; }

    // A buffer cell, 0-based; a blank in attribute 7 outside the buffer.
    Cell cell(int x, int y) const;
    // A cell of the window, 1-based (column, row) as the text layer counts
    // with the window at its current place.
    Cell at(int column, int row) const;
    // `length` bytes of a window row from `column` on.
    std::string text(int column, int row, int length) const;
    // The whole window row, right blanks kept.
    std::string row_text(int row) const;

    // Bumped on every change of a cell, so observers can tell a quiet screen.
    std::uint64_t version() const { return version_; }
    // The version that last changed a cell of buffer row `y`, so an
    // observer need not look at the rows that kept still.
    std::uint64_t row_version(int y) const {
        return y >= 0 && y < height_ ? row_versions_[static_cast<std::size_t>(y)] : 0;
    }

    BufferInfo info() const override;
    void fill_attribute(std::uint16_t attribute, int count, Coord from) override;
    void fill_character(std::uint8_t ch, int count, Coord from) override;
    bool set_cursor(Coord to) override;
    void set_attribute(std::uint16_t attribute) override;
    void write(std::string_view bytes) override;

  private:
    Cell* cell_at(int x, int y);
    // A run of cells from `from` on, row after row, until the buffer ends.
    template <class Change> void fill(int count, Coord from, Change change);
    void scroll_up();
    void touch_rows(int from_y, int to_y);

    int width_;
    int height_;
    std::vector<Cell> cells_;
    std::vector<std::uint64_t> row_versions_;
    Rect window_;
    Coord cursor_;
    std::uint16_t attribute_ = 7;
    std::uint64_t version_ = 0;
};

} // namespace console
