#pragma once
// Turns the cells the game has drawn into the bytes that make a terminal
// show them, writing only the cells that differ from what it already shows.
// Pure: it keeps its picture of the terminal in a value the caller owns.

#include "console/ansi/ansi_colours.hpp"
#include "console/ansi/terminal_traits.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace console::ansi {

struct Point {
    int x = 0; // 0-based column
    int y = 0; // 0-based row
    friend bool operator==(Point, Point) = default;
};

struct TermCell {
    std::uint8_t ch = ' ';
    std::uint8_t attr = 7; // background * 16 + foreground
    friend bool operator==(TermCell, TermCell) = default;
};

// The picture the game wants, row by row.
struct Grid {
    int width = 0;
    int height = 0;
    std::vector<TermCell> cells;

    Grid() = default;
    Grid(int w, int h, TermCell fill = {});
    // Inline: a flush reads and writes every cell of the window.
    TermCell at(int x, int y) const { return cells[index(x, y)]; }
    void set(int x, int y, TermCell cell) { cells[index(x, y)] = cell; }
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

// What the terminal is known to show. Anything unknown (a cell after a
// resize or a repaint request, the pen at start, the cursor after the last
// column) is written or set afresh rather than guessed.
struct TerminalPicture {
    int width = 0;
    int height = 0;
    std::vector<std::optional<TermCell>> cells;
    std::optional<Pen> pen;
    std::optional<Point> cursor;
    std::optional<bool> cursor_visible;
    // In the line-drawing set; every frame ends out of it.
    bool line_drawing = false;
};

// A terminal of this size whose every cell, colour and cursor is unknown.
TerminalPicture unknown_picture(int width, int height);
// Forgets the cells, the pen and the cursor position (not whether the
// cursor is shown): the terminal was cleared or drawn on by others.
void forget_cells(TerminalPicture& picture);

// The bytes that bring the terminal from `shown` to `wanted`, with the
// cursor shown at `cursor` or hidden when there is none; `shown` is updated
// to match. A size change forgets everything first. Empty when the terminal
// already shows the frame. A row flagged false in `rows_to_compare` is
// taken to be shown as wanted already; none flagged compares them all.
// `traits` say how blanks may be erased and how each glyph is sent; colours
// are told as `colours` says.
std::string render_frame(TerminalPicture& shown, const Grid& wanted, std::optional<Point> cursor,
                         const std::vector<bool>& rows_to_compare = {},
                         const TerminalTraits& traits = {}, Colours colours = {});

// The shortest bytes found that move the cursor from `from` (unknown when
// empty) to `to`. Exposed for its tests.
std::string cursor_move(std::optional<Point> from, Point to);

} // namespace console::ansi
