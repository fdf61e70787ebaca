#include "console/ansi/ansi_colours.hpp"

#include "console/ansi/escapes.hpp"

#include <array>
#include <string_view>

namespace console::ansi {
namespace {

// The levels of each channel in the 6x6x6 cube (entries 16-231) and of the
// grey ramp (232-255), as xterm sets them.
constexpr std::array<int, 6> cube_levels{0, 95, 135, 175, 215, 255};

int distance(Rgb a, Rgb b) {
    const int r = a.red - b.red;
    const int g = a.green - b.green;
    const int bl = a.blue - b.blue;
    return r * r + g * g + bl * bl;
}

// "38;2;r;g;b" or "38;5;n" after `base` (38 or 48).
std::string fixed_params(int base, Rgb rgb, bool truecolour) {
    std::string out = std::to_string(base);
    if (truecolour) {
        out += ";2;";
        out += std::to_string(rgb.red);
        out += ';';
        out += std::to_string(rgb.green);
        out += ';';
        out += std::to_string(rgb.blue);
    } else {
        out += ";5;";
        out += std::to_string(nearest_256(rgb));
    }
    return out;
}

std::string colour_params(bool foreground, int console_colour, Colours colours) {
    if (colours.palette == Palette::console)
        return std::to_string(foreground ? sgr_foreground(console_colour)
                                         : sgr_background(console_colour));
    return fixed_params(foreground ? 38 : 48, rgb_of(colours.palette, console_colour),
                        colours.truecolour);
}

std::string mono_change(const Pen* from, Pen to) {
    const bool bold = shown_bold(Palette::mono, to.foreground);
    if (from != nullptr && shown_bold(Palette::mono, from->foreground) == bold)
        return {};
    std::string out(csi);
    out += bold ? "1m" : "22m";
    return out;
}

} // namespace

bool says_truecolour(const char* colorterm) {
    if (colorterm == nullptr)
        return false;
    const std::string_view said = colorterm;
    return said == "truecolor" || said == "24bit";
}

int nearest_256(Rgb rgb) {
    int best = 16;
    int best_distance = distance(rgb, Rgb{0, 0, 0});
    for (int i = 0; i < 216; ++i) {
        const Rgb entry{cube_levels[static_cast<std::size_t>(i / 36)],
                        cube_levels[static_cast<std::size_t>(i / 6 % 6)],
                        cube_levels[static_cast<std::size_t>(i % 6)]};
        if (const int d = distance(rgb, entry); d < best_distance) {
            best = 16 + i;
            best_distance = d;
        }
    }
    for (int i = 0; i < 24; ++i) {
        const int level = 8 + 10 * i;
        if (const int d = distance(rgb, Rgb{level, level, level}); d < best_distance) {
            best = 232 + i;
            best_distance = d;
        }
    }
    return best;
}

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

std::string sgr_change(const Pen* from, Pen to, Colours colours) {
    if (colours.palette == Palette::mono)
        return mono_change(from, to);
    const bool fg = from == nullptr || from->foreground != to.foreground;
    const bool bg = from == nullptr || from->background != to.background;
    if (!fg && !bg)
        return {};
    std::string out(csi);
    if (fg)
        out += colour_params(true, to.foreground, colours);
    if (fg && bg)
        out += ';';
    if (bg)
        out += colour_params(false, to.background, colours);
    out += 'm';
    return out;
}

} // namespace console::ansi
