#pragma once
// Console colours on an ANSI terminal. The console numbers its colours with
// blue in bit 0 and red in bit 2, ANSI the other way round, so the low three
// bits are reversed; bit 3 picks the bright range (90-97, 100-107).

#include "console/palette.hpp"

#include <cstdint>
#include <string>

namespace console::ansi {

// 0..7 for the ANSI colour index, plus 8 when bright: the palette index a
// 16-colour terminal uses for it.
int ansi_index(int console_colour);

int sgr_foreground(int console_colour); // 30-37, 90-97
int sgr_background(int console_colour); // 40-47, 100-107

// The two colours a cell attribute names: its low byte, background in the
// high nibble. Higher bits have no colour to show.
struct Pen {
    int foreground = 7;
    int background = 0;
    friend bool operator==(Pen, Pen) = default;
};
Pen pen_of(std::uint16_t attribute);

// How a terminal is told the colours: through the palette, and for the
// fixed ones as 24-bit colour where it has that, else the 256-colour cube.
struct Colours {
    Palette palette = Palette::console;
    bool truecolour = false;
};

// Whether COLORTERM (null when unset) says the terminal takes 24-bit colour.
bool says_truecolour(const char* colorterm);

// The entry of the 256-colour palette nearest to `rgb`, from the colour
// cube and the grey ramp only: entries 0-15 follow the terminal's theme.
int nearest_256(Rgb rgb);

// The SGR sequence that takes the terminal from `from` to `to`, naming only
// the colour that changed; empty when nothing did. With no known `from`,
// both colours. In mono no colour is named, only bold turned on or off.
std::string sgr_change(const Pen* from, Pen to, Colours colours = {});

} // namespace console::ansi
