#include "console/palette.hpp"

#include <array>

namespace console {
namespace {

// Console numbering: bit 0 blue, bit 1 green, bit 2 red, bit 3 bright.
constexpr std::array<Rgb, 16> classic{{
    {0, 0, 0},
    {0, 0, 170},
    {0, 170, 0},
    {0, 170, 170},
    {170, 0, 0},
    {170, 0, 170},
    {170, 85, 0},
    {170, 170, 170},
    {85, 85, 85},
    {85, 85, 255},
    {85, 255, 85},
    {85, 255, 255},
    {255, 85, 85},
    {255, 85, 255},
    {255, 255, 85},
    {255, 255, 255},
}};

constexpr Rgb sky_blue{86, 180, 233};
constexpr Rgb light_sky_blue{150, 210, 245};
constexpr Rgb vermilion{213, 94, 0};
constexpr Rgb orange{230, 159, 0};

} // namespace

Rgb rgb_of(Palette palette, int console_colour) {
    const int c = console_colour & 15;
    if (palette == Palette::colour_blind) {
        switch (c) {
        case 2:
            return sky_blue;
        case 10:
            return light_sky_blue;
        case 4:
            return vermilion;
        case 12:
            return orange;
        default:
            break;
        }
    }
    return classic[static_cast<std::size_t>(c)];
}

std::optional<Palette> palette_named(std::string_view name) {
    for (const PaletteName& each : palette_names)
        if (each.name == name)
            return each.palette;
    return std::nullopt;
}

Palette palette_for(std::optional<Palette> asked, const char* no_color, int terminal_colours) {
    if (asked)
        return *asked;
    const bool no_colour_wanted = no_color != nullptr && *no_color != '\0';
    if (no_colour_wanted || terminal_colours < 1)
        return Palette::mono;
    return Palette::console;
}

} // namespace console
