#pragma once
// How the code page's glyphs are sent to a terminal whose charset is not
// UTF-8: each in the charset where it has it, else from the terminal's
// line-drawing set where its terminfo entry names one, else as an ASCII
// stand-in that keeps the play readable. Always one cell a glyph, so every
// screen keeps its layout.

#include "console/ansi/terminal_traits.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace console::ansi {

// The character's bytes in the locale's charset, when it has the character
// and shows it in one cell.
using CharsetEncoder = std::function<std::optional<std::string>(char32_t)>;

// The 256 glyphs' bytes. `acsc` is the terminal's terminfo pairs of a VT100
// line-drawing character and the one this terminal shows it by; empty when
// it has none or no way into the set.
std::vector<GlyphBytes> glyph_table(const CharsetEncoder& encode, std::string_view acsc);

// The ASCII character that stands in for a glyph no charset can show.
char ascii_stand_in(char32_t glyph);

} // namespace console::ansi
