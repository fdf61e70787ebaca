#include "support/touched_cells.hpp"

namespace teste {

std::vector<TouchedCells::Position> TouchedCells::take() {
    for (const auto& [c, r] : list_)
        marked_[static_cast<std::size_t>((r - 1) * columns + (c - 1))] = false;
    return std::exchange(list_, {});
}

void TouchedCells::mark(console::Coord from, int count) {
    // The in-memory window sits at the buffer's top left.
    const console::Rect window = screen_.window();
    int x = from.x;
    int y = from.y;
    for (int i = 0; i < count; ++i) {
        if (x - window.left < columns && y - window.top < rows && x >= window.left &&
            y >= window.top) {
            const int c = x - window.left + 1;
            const int r = y - window.top + 1;
            bool& seen = marked_[static_cast<std::size_t>((r - 1) * columns + (c - 1))];
            if (!seen) {
                seen = true;
                list_.emplace_back(c, r);
            }
        }
        if (++x >= screen_.width()) {
            x = 0;
            ++y;
        }
    }
}

void TouchedCells::fill_attribute(std::uint16_t attribute, int count, console::Coord from) {
    screen_.fill_attribute(attribute, count, from);
    mark(from, count);
}

void TouchedCells::fill_character(std::uint8_t ch, int count, console::Coord from) {
    screen_.fill_character(ch, count, from);
    mark(from, count);
}

void TouchedCells::write(std::string_view bytes) {
    const console::Coord at = screen_.cursor();
    screen_.write(bytes);
    mark(at, static_cast<int>(bytes.size()));
}

} // namespace teste
