#include "console/text_layer.hpp"

#include "console/current.hpp"

namespace console {
namespace {

// With the installed console, one per thread.
thread_local LayerState state;

std::uint16_t attribute_of(int background, int foreground) {
    // Truncated, never masked: a colour above 15 spills into the next bits.
    return static_cast<std::uint16_t>(background * 16 + foreground);
}

std::int16_t to16(int v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
}

} // namespace

const LayerState& layer_state() {
    return state;
}

void reset_layer_state() {
    state = LayerState{};
}

void clrscr() {
    ScreenBuffer& out = screen();
    const BufferInfo info = out.info();
    state.CONIO_LEFT = info.window.left;
    state.CONIO_TOP = info.window.top;

    text_info& ti = state.text_info;
    ti.cursorcol = static_cast<std::uint8_t>(info.cursor.x - info.window.left + 1);
    ti.cursorrow = static_cast<std::uint8_t>(info.cursor.y - info.window.top + 1);
    ti.currattr = info.attribute;
    ti.winwidth = static_cast<std::uint8_t>(info.window.right - info.window.left + 1);
    ti.winheight = static_cast<std::uint8_t>(info.window.bottom - info.window.top + 1);

    const std::uint16_t paint = attribute_of(state.BACKGROUND, state.FOREGROUND);
    for (int y = info.window.top; y < info.window.top + ti.winheight; ++y) {
        const Coord from{info.window.left, to16(y)};
        out.fill_attribute(paint, ti.winwidth, from);
        out.fill_character(' ', ti.winwidth, from);
    }
    out.set_cursor(Coord{to16(state.CONIO_LEFT), to16(state.CONIO_TOP)});
}

void gotoxy(int column, int row) {
    screen().set_cursor(
        Coord{to16(state.CONIO_LEFT + column - 1), to16(state.CONIO_TOP + row - 1)});
}

void textcolor(int colour) {
    state.FOREGROUND = colour;
    screen().set_attribute(attribute_of(state.BACKGROUND, colour));
}

void textbackground(int colour) {
    state.BACKGROUND = colour;
    screen().set_attribute(attribute_of(colour, state.FOREGROUND));
}

} // namespace console
