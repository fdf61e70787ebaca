#pragma once
// What the terminal at hand can do, as far as the frame renderer and the
// colours must know: learned at start from its terminfo entry and from the
// locale's character set. Default-constructed it is the terminal the game
// was made on, an xterm-256color in a UTF-8 locale, so a renderer given no
// traits writes the bytes it always has, with or without a tty.

#include <string>
#include <vector>

namespace console::ansi {

// One code page byte as this terminal is sent it: one cell's worth of bytes
// in the locale's charset, or a character of the line-drawing set.
struct GlyphBytes {
    std::string bytes;
    bool line_drawing = false;
    friend bool operator==(const GlyphBytes&, const GlyphBytes&) = default;
};

struct TerminalTraits {
    // Background colour erase (terminfo's `bce`): ECH and EL fill with the
    // pen's background. Without it they show the terminal's own, so runs of
    // blanks are written out instead.
    bool bce = true;
    // The colours the terminal shows (terminfo's `colors`); 0 when its
    // entry names none.
    int colours = 256;
    // How each of the 256 code page bytes is sent; empty: as UTF-8.
    std::vector<GlyphBytes> glyphs;
    // Into and out of the line-drawing set (`smacs`, `rmacs`), for the
    // glyphs that need it; `line_drawing_enable` (`enacs`) once first.
    std::string line_drawing_on;
    std::string line_drawing_off;
    std::string line_drawing_enable;
    // In a one-byte charset, the character each byte from 128 up types
    // (0: none); empty: keys come as UTF-8.
    std::vector<char32_t> typed_high_bytes;
};

} // namespace console::ansi
