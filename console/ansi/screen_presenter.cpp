#include "console/ansi/screen_presenter.hpp"

#include "console/ansi/escapes.hpp"

#include <algorithm>

namespace console::ansi {
namespace {

constexpr int max_window = 255;

void read_window_row(const CellScreen& model, Grid& grid, int y) {
    const Rect w = model.window();
    for (int x = 0; x < grid.width; ++x) {
        const Cell c = model.cell(w.left + x, w.top + y);
        grid.set(x, y, TermCell{c.ch, static_cast<std::uint8_t>(c.attr & 0xff)});
    }
}

} // namespace

ModelSize model_size_for(Size terminal, Size least) {
    ModelSize m;
    m.width = std::clamp(terminal.columns, std::min(least.columns, max_window), max_window);
    m.height = std::clamp(terminal.rows, std::min(least.rows, max_window), max_window);
    m.buffer_height = m.height + 1;
    return m;
}

void fit_model(CellScreen& model, Size terminal, Size least) {
    const ModelSize m = model_size_for(terminal, least);
    if (m.width != model.width() || m.buffer_height != model.height())
        model.resize(m.width, m.buffer_height);
    model.set_window(Rect{0, 0, static_cast<std::int16_t>(m.width - 1),
                          static_cast<std::int16_t>(m.height - 1)});
}

Grid window_grid(const CellScreen& model) {
    const Rect w = model.window();
    Grid grid(w.right - w.left + 1, w.bottom - w.top + 1);
    for (int y = 0; y < grid.height; ++y)
        read_window_row(model, grid, y);
    return grid;
}

std::string ScreenPresenter::next_frame(const CellScreen& model, bool cursor_visible) {
    std::string out;
    if (clear_pending_) {
        out += clear_screen;
        forget_cells(shown_);
        clear_pending_ = false;
    }
    std::optional<Point> cursor;
    if (cursor_visible) {
        const Coord c = model.cursor();
        const Rect w = model.window();
        cursor = Point{c.x - w.left, c.y - w.top};
    }
    // A wait wakes many times a frame; when the model has not changed since
    // it was last shown there is nothing to diff.
    const Presented now{model.version(), cursor};
    if (out.empty() && presented_ == now)
        return out;
    read_changed_rows(model);
    out += render_frame(shown_, window_, cursor, rows_to_compare_);
    presented_ = now;
    rows_to_compare_.assign(rows_to_compare_.size(), false);
    return out;
}

void ScreenPresenter::read_changed_rows(const CellScreen& model) {
    const Rect w = model.window();
    const int width = w.right - w.left + 1;
    const int height = w.bottom - w.top + 1;
    if (w != window_rect_ || window_.width != width || window_.height != height) {
        window_ = window_grid(model);
        window_rect_ = w;
        rows_to_compare_.assign(static_cast<std::size_t>(height), true);
    } else {
        for (int y = 0; y < height; ++y)
            if (model.row_version(w.top + y) > window_version_) {
                read_window_row(model, window_, y);
                rows_to_compare_[static_cast<std::size_t>(y)] = true;
            }
    }
    window_version_ = model.version();
}

void ScreenPresenter::compare_every_row() {
    rows_to_compare_.assign(rows_to_compare_.size(), true);
}

void ScreenPresenter::redraw_all() {
    forget_cells(shown_);
    clear_pending_ = true;
    compare_every_row();
}

void ScreenPresenter::forget_terminal() {
    shown_ = TerminalPicture{};
    presented_.reset();
    compare_every_row();
}

} // namespace console::ansi
