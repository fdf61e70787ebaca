#pragma once
// A terminal picture that already shows a grid, for the renderer's tests.

#include "console/ansi/frame_renderer.hpp"

#include <cstddef>

namespace teste {

// Every cell as `grid` has it, with the pen and the cursor's place unknown
// and the cursor hidden.
inline console::ansi::TerminalPicture showing(const console::ansi::Grid& grid) {
    console::ansi::TerminalPicture p = console::ansi::unknown_picture(grid.width, grid.height);
    for (std::size_t i = 0; i < grid.cells.size(); ++i)
        p.cells[i] = grid.cells[i];
    p.cursor_visible = false;
    return p;
}

} // namespace teste
