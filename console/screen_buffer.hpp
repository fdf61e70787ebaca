#pragma once
// The handful of console operations the text layer is built on. They mirror
// what a Windows console screen buffer offers, so the layer's behaviour (a
// window inside a larger buffer, cursor moves that can fail, attributes that
// stick to cells) is the same on every backend.

#include <cstdint>
#include <string_view>

namespace console {

struct Coord {
    std::int16_t x = 0;
    std::int16_t y = 0;
    friend bool operator==(Coord, Coord) = default;
};

// Inclusive, 0-based buffer cells.
struct Rect {
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;
    friend bool operator==(Rect, Rect) = default;
};

struct BufferInfo {
    Coord size;
    Coord cursor;
    std::uint16_t attribute = 7;
    Rect window;
};

class ScreenBuffer {
  public:
    virtual ~ScreenBuffer() = default;

    virtual BufferInfo info() const = 0;
    // Runs of consecutive cells from `from` onwards; both keep the other half
    // of each cell (character or attribute) as it was.
    virtual void fill_attribute(std::uint16_t attribute, int count, Coord from) = 0;
    virtual void fill_character(std::uint8_t ch, int count, Coord from) = 0;
    // Fails, leaving the cursor where it was, for a cell outside the buffer.
    virtual bool set_cursor(Coord to) = 0;
    virtual void set_attribute(std::uint16_t attribute) = 0;
    // Every byte is a glyph: one cell each, in the current attribute, the
    // cursor moving one cell right and wrapping at the buffer's right edge.
    virtual void write(std::string_view bytes) = 0;
};

} // namespace console
