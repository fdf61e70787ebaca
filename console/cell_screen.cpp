#include "console/cell_screen.hpp"

#include <algorithm>

namespace console {
namespace {

std::int16_t s16(int v) {
    return static_cast<std::int16_t>(v);
}

Rect clip(Rect r, int width, int height) {
    r.left = s16(std::clamp<int>(r.left, 0, width - 1));
    r.top = s16(std::clamp<int>(r.top, 0, height - 1));
    r.right = s16(std::clamp<int>(r.right, r.left, width - 1));
    r.bottom = s16(std::clamp<int>(r.bottom, r.top, height - 1));
    return r;
}

} // namespace

CellScreen::CellScreen(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)),
      cells_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
      row_versions_(static_cast<std::size_t>(height_), 0),
      window_(clip(Rect{0, 0, 79, 49}, width_, height_)) {}

void CellScreen::set_window(Rect window) {
    window_ = clip(window, width_, height_);
}

void CellScreen::resize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    std::vector<Cell> cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < std::min(height, height_); ++y)
        for (int x = 0; x < std::min(width, width_); ++x)
            cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)] = *cell_at(x, y);
    cells_ = std::move(cells);
    width_ = width;
    height_ = height;
    window_ = clip(window_, width_, height_);
    cursor_.x = s16(std::min<int>(cursor_.x, width_ - 1));
    cursor_.y = s16(std::min<int>(cursor_.y, height_ - 1));
    ++version_;
    row_versions_.assign(static_cast<std::size_t>(height_), version_);
}

void CellScreen::touch_rows(int from_y, int to_y) {
    for (int y = std::max(from_y, 0); y <= std::min(to_y, height_ - 1); ++y)
        row_versions_[static_cast<std::size_t>(y)] = version_;
}

Cell* CellScreen::cell_at(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return nullptr;
    return &cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

Cell CellScreen::cell(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return Cell{};
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
}

Cell CellScreen::at(int column, int row) const {
    return cell(window_.left + column - 1, window_.top + row - 1);
}

std::string CellScreen::text(int column, int row, int length) const {
    std::string out;
    for (int i = 0; i < length; ++i)
        out += static_cast<char>(at(column + i, row).ch);
    return out;
}

std::string CellScreen::row_text(int row) const {
    return text(1, row, window_.right - window_.left + 1);
}

BufferInfo CellScreen::info() const {
    return BufferInfo{Coord{s16(width_), s16(height_)}, cursor_, attribute_, window_};
}

template <class Change> void CellScreen::fill(int count, Coord from, Change change) {
    int x = from.x;
    int y = from.y;
    for (int i = 0; i < count; ++i) {
        Cell* c = cell_at(x, y);
        if (c == nullptr)
            break;
        change(*c);
        if (++x == width_) {
            x = 0;
            ++y;
        }
    }
    ++version_;
    touch_rows(from.y, x == 0 ? y - 1 : y);
}

void CellScreen::fill_attribute(std::uint16_t attribute, int count, Coord from) {
    fill(count, from, [attribute](Cell& c) { c.attr = attribute; });
}

void CellScreen::fill_character(std::uint8_t ch, int count, Coord from) {
    fill(count, from, [ch](Cell& c) { c.ch = ch; });
}

bool CellScreen::set_cursor(Coord to) {
    if (to.x < 0 || to.y < 0 || to.x >= width_ || to.y >= height_)
        return false;
    cursor_ = to;
    return true;
}

void CellScreen::set_attribute(std::uint16_t attribute) {
    attribute_ = attribute;
}

void CellScreen::scroll_up() {
    std::move(cells_.begin() + width_, cells_.end(), cells_.begin());
    std::fill(cells_.end() - width_, cells_.end(), Cell{' ', attribute_});
    touch_rows(0, height_ - 1);
}

void CellScreen::write(std::string_view bytes) {
    ++version_;
    for (const char byte : bytes) {
        row_versions_[static_cast<std::size_t>(cursor_.y)] = version_;
        *cell_at(cursor_.x, cursor_.y) = Cell{static_cast<std::uint8_t>(byte), attribute_};
        if (cursor_.x + 1 < width_) {
            ++cursor_.x;
            continue;
        }
        // Like a console buffer: wrap, and scroll when the last row is full.
        cursor_.x = 0;
        if (cursor_.y + 1 < height_)
            ++cursor_.y;
        else
            scroll_up();
    }
}

} // namespace console
