#pragma once
// How the game's sixteen console colours are shown. The game always draws
// in console colour numbers; a palette is the backend's mapping of them.

#include <cstdint>
#include <optional>
#include <string_view>

namespace console {

enum class Palette {
    console,      // the colours as the terminal's or console's theme shows them
    fixed,        // the classic PC console colours, whatever the theme
    colour_blind, // the classic colours, with no red against green
    mono,         // no colour; what is drawn green is shown bold instead
};

struct PaletteName {
    std::string_view name;
    Palette palette;
};

// Every palette by the name the command line gives it.
inline constexpr PaletteName palette_names[] = {
    {"console", Palette::console},
    {"fixed", Palette::fixed},
    {"colour-blind", Palette::colour_blind},
    {"mono", Palette::mono},
};

std::optional<Palette> palette_named(std::string_view name);

// The palette a session is shown in: the one the player asked for; else
// mono when NO_COLOR holds anything (`no_color` null when it is unset) or
// the terminal has no colours (`terminal_colours` below 1, as terminfo
// tells of a terminal without any); else the theme's own.
Palette palette_for(std::optional<Palette> asked, const char* no_color, int terminal_colours);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// The colour `fixed` or `colour_blind` shows a console colour (0-15) in.
// Fixed: the classic PC console's. Colour-blind: the same, but green turns
// sky blue and red vermilion, told apart by hue and lightness in every
// common kind of colour blindness.
Rgb rgb_of(Palette palette, int console_colour);

// What a palette shows bold in place of colour: the game's green, in which
// it marks the special shot as charged (red while charging).
constexpr bool shown_bold(Palette palette, int console_colour) {
    return palette == Palette::mono && (console_colour & 7) == 2;
}

// The attribute (background * 16 + foreground) a console that shows
// attributes as they are, such as the Windows console, is given for the
// game's: in mono light grey on black, or bright white where the game draws
// green; in every other palette the game's own. Higher bits are kept.
constexpr std::uint16_t attribute_shown(Palette palette, std::uint16_t attribute) {
    if (palette != Palette::mono)
        return attribute;
    const std::uint16_t grey = shown_bold(palette, attribute & 15) ? 15 : 7;
    return static_cast<std::uint16_t>((attribute & ~0xffu) | grey);
}

} // namespace console
