#include "console/posix/terminal_view.hpp"

#include "console/ansi/escapes.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace console::posix {
namespace {

constexpr int max_window = 255;

// A size for terminals that do not tell theirs: the classic console's,
// or the session's least when that is larger, so the session fits.
TerminalSize assumed_size(TerminalSize least) {
    return TerminalSize{std::max(80, least.columns), std::max(50, least.rows)};
}

void write_or_end(int fd, std::string_view bytes) {
    if (!write_all(fd, bytes))
        throw SessionEnded{};
}

} // namespace

ModelSize model_size_for(TerminalSize terminal, TerminalSize least) {
    ModelSize m;
    m.width = std::clamp(terminal.columns, std::min(least.columns, max_window), max_window);
    m.height = std::clamp(terminal.rows, std::min(least.rows, max_window), max_window);
    m.buffer_height = m.height + 1;
    return m;
}

namespace {

void read_window_row(const CellScreen& model, ansi::Grid& grid, int y) {
    const Rect w = model.window();
    for (int x = 0; x < grid.width; ++x) {
        const Cell c = model.cell(w.left + x, w.top + y);
        grid.set(x, y, ansi::TermCell{c.ch, static_cast<std::uint8_t>(c.attr & 0xff)});
    }
}

} // namespace

ansi::Grid window_grid(const CellScreen& model) {
    const Rect w = model.window();
    ansi::Grid grid(w.right - w.left + 1, w.bottom - w.top + 1);
    for (int y = 0; y < grid.height; ++y)
        read_window_row(model, grid, y);
    return grid;
}

TerminalView::TerminalView(int out_fd, CellScreen& model, NativeNeeds needs,
                           ansi::TerminalTraits traits, ansi::Colours colours)
    : out_(out_fd), model_(model), needs_(std::move(needs)), traits_(std::move(traits)),
      colours_(colours) {
    update_size();
}

void TerminalView::update_size() {
    const TerminalSize now = terminal_size(out_).value_or(assumed_size(needs_.least));
    if (now == size_)
        return;
    size_ = now;
    const ModelSize m = model_size_for(now, needs_.least);
    if (m.width != model_.width() || m.buffer_height != model_.height())
        model_.resize(m.width, m.buffer_height);
    model_.set_window(Rect{0, 0, static_cast<std::int16_t>(m.width - 1),
                           static_cast<std::int16_t>(m.height - 1)});
    // The terminal may have kept, moved or dropped what it showed.
    redraw_all();
}

void TerminalView::flush() {
    std::string out;
    if (clear_pending_) {
        out += ansi::clear_screen;
        // The line-drawing set is set up anew with every clear: the
        // terminal may have been reset, or left and entered again, since.
        out += traits_.line_drawing_enable;
        ansi::forget_cells(shown_);
        clear_pending_ = false;
    }
    std::optional<ansi::Point> cursor;
    if (cursor_visible_) {
        const Coord c = model_.cursor();
        const Rect w = model_.window();
        cursor = ansi::Point{c.x - w.left, c.y - w.top};
    }
    // A wait wakes many times a frame; when the model has not changed since
    // it was last shown there is nothing to diff.
    const Presented now{model_.version(), cursor};
    if (out.empty() && presented_ == now)
        return;
    read_changed_rows();
    out += ansi::render_frame(shown_, window_, cursor, rows_to_compare_, traits_, colours_);
    if (!out.empty())
        write_or_end(out_, out);
    presented_ = now;
    rows_to_compare_.assign(rows_to_compare_.size(), false);
}

void TerminalView::read_changed_rows() {
    const Rect w = model_.window();
    const int width = w.right - w.left + 1;
    const int height = w.bottom - w.top + 1;
    if (w != window_rect_ || window_.width != width || window_.height != height) {
        window_ = window_grid(model_);
        window_rect_ = w;
        rows_to_compare_.assign(static_cast<std::size_t>(height), true);
    } else {
        for (int y = 0; y < height; ++y)
            if (model_.row_version(w.top + y) > window_version_) {
                read_window_row(model_, window_, y);
                rows_to_compare_[static_cast<std::size_t>(y)] = true;
            }
    }
    window_version_ = model_.version();
}

void TerminalView::compare_every_row() {
    rows_to_compare_.assign(rows_to_compare_.size(), true);
}

void TerminalView::show_size_notice() {
    const std::vector<std::string> paragraphs =
        needs_.size_notice ? needs_.size_notice(size_, needs_.least) : std::vector<std::string>{};
    write_or_end(out_, ansi::size_notice(paragraphs, size_));
}

void TerminalView::redraw_all() {
    ansi::forget_cells(shown_);
    clear_pending_ = true;
    compare_every_row();
}

void TerminalView::forget_terminal() {
    shown_ = ansi::TerminalPicture{};
    presented_.reset();
    compare_every_row();
}

void TerminalView::send_growth_request() {
    if (!growth_requested_)
        return;
    growth_requested_ = false;
    update_size();
    if (fits())
        return; // never smaller: a second request changes nothing
    const int rows = std::max(size_.rows, needs_.least.rows);
    const int columns = std::max(size_.columns, needs_.least.columns);
    std::string request(ansi::csi);
    request += "8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t";
    write_or_end(out_, request);
    // Few terminals honour it, and those that do take a moment: the size is
    // read again at every turn of the wait.
}

} // namespace console::posix
