#pragma once
// How few bytes a terminal needs to be shown the cells that changed, for
// judging the backend's output against it. Two measures:
//  - glyphs: the UTF-8 bytes of the changed cells' glyphs alone, a lower
//    bound for any output that writes each of them;
//  - runs: the glyphs, plus an SGR naming only the colour that changed
//    whenever a changed cell's colours differ from the last one written,
//    plus for each run of side-by-side changed cells the shortest cursor
//    move from where the last run left the cursor (among CUP, CUU, CUD,
//    CUF, CUB, CHA, CR, LF and BS). Rewriting a few unchanged cells can
//    be shorter than a move, and erasing a run of blanks shorter than the
//    blanks, so an output may go below it.

#include "console/ansi/ansi_colours.hpp"
#include "console/ansi/frame_renderer.hpp"

#include <cstddef>
#include <optional>

namespace bench {

struct Least {
    std::size_t cells = 0;
    std::size_t glyph_bytes = 0;
    std::size_t run_bytes = 0;
};

// Follows the pictures a terminal is sent, one after another, keeping the
// cursor and colours the runs measure leaves behind.
class LeastBytes {
  public:
    // What it takes to go from the last picture to this one; from nothing
    // known, every cell counts as changed.
    Least next(const console::ansi::Grid& wanted);

  private:
    std::optional<console::ansi::Grid> shown_;
    std::optional<console::ansi::Point> cursor_;
    std::optional<console::ansi::Pen> pen_;
};

} // namespace bench
