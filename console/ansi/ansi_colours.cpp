#include "console/ansi/ansi_colours.hpp"

#include "console/ansi/escapes.hpp"

namespace console::ansi {

int ansi_index(int console_colour) {
    const int c = console_colour & 15;
    const int rgb = ((c & 1) << 2) | (c & 2) | ((c & 4) >> 2);
    return rgb | (c & 8);
}

int sgr_foreground(int console_colour) {
    const int index = ansi_index(console_colour);
    return (index & 8 ? 90 : 30) + (index & 7);
}

int sgr_background(int console_colour) {
    const int index = ansi_index(console_colour);
    return (index & 8 ? 100 : 40) + (index & 7);
}

Pen pen_of(std::uint16_t attribute) {
    return Pen{attribute & 15, (attribute >> 4) & 15};
}

std::string sgr_change(const Pen* from, Pen to) {
    const bool fg = from == nullptr || from->foreground != to.foreground;
    const bool bg = from == nullptr || from->background != to.background;
    if (!fg && !bg)
        return {};
    std::string out(csi);
    if (fg)
        out += std::to_string(sgr_foreground(to.foreground));
    if (fg && bg)
        out += ';';
    if (bg)
        out += std::to_string(sgr_background(to.background));
    out += 'm';
    return out;
}

} // namespace console::ansi
