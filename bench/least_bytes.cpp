#include "least_bytes.hpp"

#include "console/glyphs.hpp"

namespace bench {

using console::ansi::Grid;
using console::ansi::Pen;
using console::ansi::Point;
using console::ansi::TermCell;

Least LeastBytes::next(const Grid& wanted) {
    if (shown_ && (shown_->width != wanted.width || shown_->height != wanted.height))
        shown_.reset();
    Least least;
    for (int y = 0; y < wanted.height; ++y) {
        for (int x = 0; x < wanted.width; ++x) {
            const TermCell want = wanted.at(x, y);
            if (shown_ && shown_->at(x, y) == want)
                continue;
            ++least.cells;
            const std::size_t glyph = console::glyph_utf8(want.ch).size();
            least.glyph_bytes += glyph;
            least.run_bytes += glyph;
            if (cursor_ != Point{x, y})
                least.run_bytes += console::ansi::cursor_move(cursor_, Point{x, y}).size();
            const Pen pen = console::ansi::pen_of(want.attr);
            least.run_bytes += console::ansi::sgr_change(pen_ ? &*pen_ : nullptr, pen).size();
            pen_ = pen;
            // As the renderer counts it: past the last column the cursor is
            // not relied on.
            if (x + 1 < wanted.width)
                cursor_ = Point{x + 1, y};
            else
                cursor_.reset();
        }
    }
    shown_ = wanted;
    return least;
}

} // namespace bench
