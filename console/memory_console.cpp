#include "console/memory_console.hpp"

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

MemoryScreen::MemoryScreen(int width, int height)
    : width_(std::max(1, width)), height_(std::max(1, height)),
      cells_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
      window_(clip(Rect{0, 0, 79, 49}, width_, height_)) {}

void MemoryScreen::set_window(Rect window) {
    window_ = clip(window, width_, height_);
}

void MemoryScreen::resize(int width, int height) {
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
}

Cell* MemoryScreen::cell_at(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return nullptr;
    return &cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

Cell MemoryScreen::cell(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return Cell{};
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
}

Cell MemoryScreen::at(int column, int row) const {
    return cell(window_.left + column - 1, window_.top + row - 1);
}

std::string MemoryScreen::text(int column, int row, int length) const {
    std::string out;
    for (int i = 0; i < length; ++i)
        out += static_cast<char>(at(column + i, row).ch);
    return out;
}

std::string MemoryScreen::row_text(int row) const {
    return text(1, row, window_.right - window_.left + 1);
}

BufferInfo MemoryScreen::info() const {
    return BufferInfo{Coord{s16(width_), s16(height_)}, cursor_, attribute_, window_};
}

template <class Change> void MemoryScreen::fill(int count, Coord from, Change change) {
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
}

void MemoryScreen::fill_attribute(std::uint16_t attribute, int count, Coord from) {
    fill(count, from, [attribute](Cell& c) { c.attr = attribute; });
}

void MemoryScreen::fill_character(std::uint8_t ch, int count, Coord from) {
    fill(count, from, [ch](Cell& c) { c.ch = ch; });
}

bool MemoryScreen::set_cursor(Coord to) {
    if (to.x < 0 || to.y < 0 || to.x >= width_ || to.y >= height_)
        return false;
    cursor_ = to;
    return true;
}

void MemoryScreen::set_attribute(std::uint16_t attribute) {
    attribute_ = attribute;
}

void MemoryScreen::scroll_up() {
    std::move(cells_.begin() + width_, cells_.end(), cells_.begin());
    std::fill(cells_.end() - width_, cells_.end(), Cell{' ', attribute_});
}

void MemoryScreen::write(std::string_view bytes) {
    for (const char byte : bytes) {
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
    ++version_;
}

void MemoryPlatform::push_key(int code, std::int64_t at_ms) {
    keys_.push_back(Key{code, at_ms});
}

void MemoryPlatform::push_keys(std::string_view keys, std::int64_t at_ms) {
    for (const char k : keys)
        push_key(static_cast<unsigned char>(k), at_ms);
}

void MemoryPlatform::script_rand(std::initializer_list<int> draws) {
    draws_.insert(draws_.end(), draws.begin(), draws.end());
}

void MemoryPlatform::clear_logs() {
    tones_.clear();
    sleeps_.clear();
    requests_.clear();
}

void MemoryPlatform::advance(std::int64_t ms) {
    now_ms_ += std::max<std::int64_t>(0, ms);
    if (now_ms_ > limit_ms_)
        throw ScriptExhausted("virtual clock passed its limit");
}

bool MemoryPlatform::kbhit() {
    return !keys_.empty() && keys_.front().at_ms <= now_ms_;
}

int MemoryPlatform::getch() {
    if (keys_.empty())
        throw ScriptExhausted("a key was awaited but the script has none left");
    const Key key = keys_.front();
    keys_.pop_front();
    if (key.at_ms > now_ms_)
        advance(key.at_ms - now_ms_);
    return key.code;
}

void MemoryPlatform::sleep(int ms) {
    sleeps_.push_back(ms);
    advance(ms);
}

void MemoryPlatform::beep(int hz, int ms) {
    tones_.push_back(Tone{hz, ms, now_ms_});
    advance(ms);
}

void MemoryPlatform::set_cursor_info(int size, bool visible) {
    requests_.push_back(
        ConsoleRequest{ConsoleRequest::Kind::cursor_info, size, visible ? 1 : 0, 0});
}

void MemoryPlatform::keybd_event(int vk, int scan, int flags) {
    requests_.push_back(ConsoleRequest{ConsoleRequest::Kind::key_event, vk, scan, flags});
}

std::int64_t MemoryPlatform::time() {
    return epoch_seconds_ + now_ms_ / 1000;
}

int MemoryPlatform::rand() {
    ++rand_calls_;
    if (!draws_.empty()) {
        const int v = draws_.front();
        draws_.pop_front();
        return v;
    }
    return Platform::rand();
}

void MemoryPlatform::srand(unsigned seed) {
    last_seed_ = seed;
    Platform::srand(seed);
}

} // namespace console
