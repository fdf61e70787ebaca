#include "console/ansi/frame_renderer.hpp"

#include "console/ansi/escapes.hpp"
#include "console/glyphs.hpp"

#include <cstddef>

namespace console::ansi {
namespace {

std::size_t index_of(int width, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
}

std::string csi_count(int n, char final_byte) {
    // A count of 1 is the default, so it can be left out.
    std::string out(csi);
    if (n != 1)
        out += std::to_string(n);
    out += final_byte;
    return out;
}

std::string absolute_move(Point to) {
    if (to.x == 0 && to.y == 0)
        return std::string(cursor_home);
    std::string out = std::string(csi) + std::to_string(to.y + 1);
    if (to.x != 0)
        out += ";" + std::to_string(to.x + 1);
    out += 'H';
    return out;
}

std::string shorter(std::string a, std::string b) {
    return b.size() < a.size() ? std::move(b) : std::move(a);
}

std::string vertical_move(int from_y, int to_y) {
    const int dy = to_y - from_y;
    if (dy == 0)
        return {};
    if (dy > 0) // LF moves straight down: output processing is off
        return shorter(std::string(static_cast<std::size_t>(dy), '\n'), csi_count(dy, 'B'));
    return csi_count(-dy, 'A');
}

std::string horizontal_move(int from_x, int to_x) {
    const int dx = to_x - from_x;
    if (dx == 0)
        return {};
    std::string best = csi_count(to_x + 1, 'G');
    if (to_x == 0)
        best = "\r";
    if (dx > 0)
        return shorter(std::move(best), csi_count(dx, 'C'));
    best = shorter(std::move(best), csi_count(-dx, 'D'));
    return shorter(std::move(best), std::string(static_cast<std::size_t>(-dx), '\b'));
}

// The glyph's bytes, with the switch into or out of the line-drawing set
// when it needs one.
void write_glyph(std::string& out, bool& line_drawing, const TerminalTraits& traits,
                 std::uint8_t ch) {
    if (traits.glyphs.empty()) {
        out += glyph_utf8(ch);
        return;
    }
    const GlyphBytes& glyph = traits.glyphs[ch];
    if (glyph.line_drawing != line_drawing) {
        out += glyph.line_drawing ? traits.line_drawing_on : traits.line_drawing_off;
        line_drawing = glyph.line_drawing;
    }
    out += glyph.bytes;
}

// Rewriting the few unchanged cells up to the next change can be shorter
// than any cursor move, when they are all in the current pen.
std::optional<std::string> rewritten_gap(const Grid& wanted, int from_x, int to_x, int y, Pen pen,
                                         bool& line_drawing, const TerminalTraits& traits,
                                         std::size_t shorter_than) {
    std::string gap;
    bool gap_line_drawing = line_drawing;
    for (int x = from_x; x < to_x; ++x) {
        const TermCell between = wanted.at(x, y);
        if (pen_of(between.attr) != pen)
            return std::nullopt;
        write_glyph(gap, gap_line_drawing, traits, between.ch);
        if (gap.size() >= shorter_than)
            return std::nullopt;
    }
    line_drawing = gap_line_drawing;
    return gap;
}

// Most cells of most frames are as shown: a tight loop passes them.
int first_change(const TerminalPicture& shown, const Grid& wanted, int x, int y) {
    const std::size_t row = index_of(wanted.width, 0, y);
    while (x < wanted.width && shown.cells[row + static_cast<std::size_t>(x)] ==
                                   wanted.cells[row + static_cast<std::size_t>(x)])
        ++x;
    return x;
}

bool is_blank(TermCell cell) {
    return glyph_unicode(cell.ch) == U' ';
}

// The first cell from `from` on, row after row, that the terminal does not
// show as wanted.
std::optional<Point> next_change(const TerminalPicture& shown, const Grid& wanted, Point from) {
    for (int y = from.y; y < wanted.height; ++y)
        for (int x = y == from.y ? from.x : 0; x < wanted.width; ++x)
            if (shown.cells[index_of(wanted.width, x, y)] != wanted.at(x, y))
                return Point{x, y};
    return std::nullopt;
}

std::size_t move_length(std::optional<Point> from, std::optional<Point> to) {
    return to ? cursor_move(from, *to).size() : 0;
}

struct Erase {
    std::string bytes;
    int cells = 0; // erased from the cursor on, which stays where it is
};

// At a changed blank, with the pen already that blank's: ECH over the run of
// like blanks up to its last changed cell, or EL when the run ends the row,
// if that and the move on from where the cursor stays are shorter than
// writing the blanks. Either fills with the pen's colours, as writing would,
// only on a terminal with background colour erase.
std::optional<Erase> blank_erase(const TerminalPicture& shown, const Grid& wanted, Point at,
                                 const TerminalTraits& traits) {
    const TermCell blank = wanted.at(at.x, at.y);
    if (!traits.bce || !is_blank(blank))
        return std::nullopt;
    int end = at.x;
    int last_changed = at.x;
    for (; end < wanted.width && wanted.at(end, at.y) == blank; ++end)
        if (shown.cells[index_of(wanted.width, end, at.y)] != blank)
            last_changed = end;
    const int written = last_changed - at.x + 1;
    // No erase is shorter than three blanks the cursor can go on from.
    if (written <= 3 && last_changed + 1 < wanted.width)
        return std::nullopt;
    Erase erase;
    if (end == wanted.width) {
        erase.bytes = erase_to_row_end;
        erase.cells = wanted.width - at.x;
    } else {
        erase.bytes = csi_count(written, 'X');
        erase.cells = written;
    }
    const Point after_run{last_changed + 1, at.y};
    const std::optional<Point> next = after_run.x < wanted.width
                                          ? next_change(shown, wanted, after_run)
                                          : next_change(shown, wanted, Point{0, at.y + 1});
    // With autowrap off the cursor sticks at the last column: unknown.
    const std::optional<Point> after_blanks =
        after_run.x < wanted.width ? std::optional<Point>(after_run) : std::nullopt;
    const std::size_t by_blanks =
        static_cast<std::size_t>(written) + move_length(after_blanks, next);
    const std::size_t by_erase = erase.bytes.size() + move_length(at, next);
    if (by_erase >= by_blanks)
        return std::nullopt;
    return erase;
}

} // namespace

Grid::Grid(int w, int h, TermCell fill)
    : width(w), height(h), cells(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

TerminalPicture unknown_picture(int width, int height) {
    TerminalPicture p;
    p.width = width;
    p.height = height;
    p.cells.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                   std::nullopt);
    return p;
}

void forget_cells(TerminalPicture& picture) {
    for (auto& cell : picture.cells)
        cell.reset();
    picture.pen.reset();
    picture.cursor.reset();
}

std::string cursor_move(std::optional<Point> from, Point to) {
    std::string best = absolute_move(to);
    if (!from)
        return best;
    if (*from == to)
        return {};
    return shorter(std::move(best), vertical_move(from->y, to.y) + horizontal_move(from->x, to.x));
}

std::string render_frame(TerminalPicture& shown, const Grid& wanted, std::optional<Point> cursor,
                         const std::vector<bool>& rows_to_compare, const TerminalTraits& traits,
                         Colours colours) {
    bool every_row = rows_to_compare.size() != static_cast<std::size_t>(wanted.height);
    if (shown.width != wanted.width || shown.height != wanted.height) {
        const auto visible = shown.cursor_visible;
        shown = unknown_picture(wanted.width, wanted.height);
        shown.cursor_visible = visible;
        every_row = true;
    }
    std::string out;
    if (!cursor && shown.cursor_visible != false) {
        // Hidden first, so it is not seen jumping over the cells drawn.
        out += hide_cursor;
        shown.cursor_visible = false;
    }

    for (int y = 0; y < wanted.height; ++y) {
        if (!every_row && !rows_to_compare[static_cast<std::size_t>(y)])
            continue;
        for (int x = 0; x < wanted.width; ++x) {
            x = first_change(shown, wanted, x, y);
            if (x == wanted.width)
                break;
            const TermCell want = wanted.at(x, y);
            auto& cell = shown.cells[index_of(wanted.width, x, y)];
            const Pen pen = pen_of(want.attr);
            if (shown.cursor != Point{x, y}) {
                std::string move = cursor_move(shown.cursor, Point{x, y});
                if (shown.cursor && shown.cursor->y == y && shown.cursor->x < x && shown.pen)
                    if (auto gap = rewritten_gap(wanted, shown.cursor->x, x, y, *shown.pen,
                                                 shown.line_drawing, traits, move.size()))
                        move = std::move(*gap);
                out += move;
            }
            const Pen* from = shown.pen ? &*shown.pen : nullptr;
            out += sgr_change(from, pen, colours);
            shown.pen = pen;
            if (auto erase = blank_erase(shown, wanted, Point{x, y}, traits)) {
                out += erase->bytes;
                for (int k = 0; k < erase->cells; ++k)
                    shown.cells[index_of(wanted.width, x + k, y)] = want;
                shown.cursor = Point{x, y};
                x += erase->cells - 1;
                continue;
            }
            write_glyph(out, shown.line_drawing, traits, want.ch);
            cell = want;
            // With autowrap off the cursor sticks at the last column.
            if (x + 1 < wanted.width)
                shown.cursor = Point{x + 1, y};
            else
                shown.cursor.reset();
        }
    }

    // Out of the line-drawing set between frames, so whatever is written
    // next (a notice, the lines after the session) reads as text.
    if (shown.line_drawing) {
        out += traits.line_drawing_off;
        shown.line_drawing = false;
    }

    if (cursor) {
        if (cursor->x >= 0 && cursor->y >= 0 && cursor->x < wanted.width &&
            cursor->y < wanted.height) {
            out += cursor_move(shown.cursor, *cursor);
            shown.cursor = *cursor;
        }
        if (shown.cursor_visible != true) {
            out += show_cursor;
            shown.cursor_visible = true;
        }
    }
    return out;
}

} // namespace console::ansi
