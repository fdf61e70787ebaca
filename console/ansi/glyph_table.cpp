#include "console/ansi/glyph_table.hpp"

#include "console/glyphs.hpp"

#include <array>
#include <cstdint>
#include <utility>

namespace console::ansi {
namespace {

// The VT100 line-drawing character each glyph is drawn by; the double lines
// of the frame become single ones.
constexpr auto vt100_line_drawing = std::to_array<std::pair<char32_t, char>>({
    {U'\u2500', 'q'}, {U'\u2550', 'q'}, {U'\u2502', 'x'}, {U'\u2551', 'x'}, {U'\u250C', 'l'},
    {U'\u2554', 'l'}, {U'\u2510', 'k'}, {U'\u2557', 'k'}, {U'\u2514', 'm'}, {U'\u255A', 'm'},
    {U'\u2518', 'j'}, {U'\u255D', 'j'}, {U'\u251C', 't'}, {U'\u2560', 't'}, {U'\u2524', 'u'},
    {U'\u2563', 'u'}, {U'\u252C', 'w'}, {U'\u2566', 'w'}, {U'\u2534', 'v'}, {U'\u2569', 'v'},
    {U'\u253C', 'n'}, {U'\u256C', 'n'}, {U'\u2592', 'a'}, {U'\u2591', 'h'}, {U'\u2593', 'a'},
    {U'\u2588', '0'}, {U'\u25A0', '0'}, {U'\u2666', '`'}, {U'\u00B7', '~'}, {U'\u2022', '~'},
    {U'\u00B0', 'f'}, {U'\u00B1', 'g'}, {U'\u00A3', '}'}, {U'\u2191', '-'}, {U'\u2193', '.'},
    {U'\u2192', '+'},
});

// Stand-ins for the glyphs the game shows in play and on its screens come
// first: the ship, the enemies, the meteors, the lives, the shots' marks.
// Letters with marks lose them; lines and corners become - | +.
constexpr auto stand_ins = std::to_array<std::pair<char32_t, char>>({
    {U'\u00A5', 'Y'}, {U'\u2640', 'V'}, {U'\u263C', '*'}, {U'\u2665', '+'}, {U'\u263A', 'o'},
    {U'\u263B', 'O'}, {U'\u2666', '*'}, {U'\u2663', '&'}, {U'\u2660', '^'}, {U'\u2022', '.'},
    {U'\u25D8', '#'}, {U'\u25CB', 'o'}, {U'\u25D9', '#'}, {U'\u2642', 'M'}, {U'\u266A', 'd'},
    {U'\u266B', 'd'}, {U'\u25BA', '>'}, {U'\u25C4', '<'}, {U'\u2195', '|'}, {U'\u203C', '!'},
    {U'\u00B6', 'P'}, {U'\u00A7', 'S'}, {U'\u25AC', '='}, {U'\u21A8', '|'}, {U'\u2191', '^'},
    {U'\u2193', 'v'}, {U'\u2192', '>'}, {U'\u2190', '<'}, {U'\u221F', 'L'}, {U'\u2194', '-'},
    {U'\u25B2', '^'}, {U'\u25BC', 'v'}, {U'\u2302', '^'}, {U'\u2550', '='}, {U'\u2551', '|'},
    {U'\u2554', '+'}, {U'\u2557', '+'}, {U'\u255A', '+'}, {U'\u255D', '+'}, {U'\u2560', '+'},
    {U'\u2563', '+'}, {U'\u2566', '+'}, {U'\u2569', '+'}, {U'\u256C', '+'}, {U'\u2500', '-'},
    {U'\u2502', '|'}, {U'\u250C', '+'}, {U'\u2510', '+'}, {U'\u2514', '+'}, {U'\u2518', '+'},
    {U'\u251C', '+'}, {U'\u2524', '+'}, {U'\u252C', '+'}, {U'\u2534', '+'}, {U'\u253C', '+'},
    {U'\u2591', ':'}, {U'\u2592', '%'}, {U'\u2593', '#'}, {U'\u2588', '#'}, {U'\u2584', '_'},
    {U'\u2580', '-'}, {U'\u25A0', '#'}, {U'\u00C7', 'C'}, {U'\u00E7', 'c'}, {U'\u00E9', 'e'},
    {U'\u00E8', 'e'}, {U'\u00EA', 'e'}, {U'\u00EB', 'e'}, {U'\u00C9', 'E'}, {U'\u00CA', 'E'},
    {U'\u00E1', 'a'}, {U'\u00E0', 'a'}, {U'\u00E2', 'a'}, {U'\u00E3', 'a'}, {U'\u00E4', 'a'},
    {U'\u00C1', 'A'}, {U'\u00C0', 'A'}, {U'\u00C2', 'A'}, {U'\u00C3', 'A'}, {U'\u00ED', 'i'},
    {U'\u00CD', 'I'}, {U'\u00F3', 'o'}, {U'\u00F4', 'o'}, {U'\u00F5', 'o'}, {U'\u00F6', 'o'},
    {U'\u00D3', 'O'}, {U'\u00D4', 'O'}, {U'\u00D5', 'O'}, {U'\u00FA', 'u'}, {U'\u00FC', 'u'},
    {U'\u00DA', 'U'}, {U'\u00DC', 'U'}, {U'\u00F1', 'n'}, {U'\u00D1', 'N'}, {U'\u00A0', ' '},
    {U'\u00D7', 'x'}, {U'\u00F7', '/'}, {U'\u00A3', 'L'}, {U'\u00A2', 'c'}, {U'\u00B0', 'o'},
});

// The terminal's character for a VT100 line-drawing one, when its acsc
// names it.
std::optional<char> line_drawing_char(std::string_view acsc, char vt100) {
    for (std::size_t i = 0; i + 1 < acsc.size(); i += 2)
        if (acsc[i] == vt100)
            return acsc[i + 1];
    return std::nullopt;
}

GlyphBytes bytes_for(char32_t glyph, const CharsetEncoder& encode, std::string_view acsc) {
    if (auto bytes = encode(glyph))
        return GlyphBytes{*std::move(bytes), false};
    for (const auto& [shown, vt100] : vt100_line_drawing)
        if (shown == glyph)
            if (const auto own = line_drawing_char(acsc, vt100))
                return GlyphBytes{std::string(1, *own), true};
    return GlyphBytes{std::string(1, ascii_stand_in(glyph)), false};
}

} // namespace

char ascii_stand_in(char32_t glyph) {
    if (glyph >= 32 && glyph < 127)
        return static_cast<char>(glyph);
    for (const auto& [shown, ascii] : stand_ins)
        if (shown == glyph)
            return ascii;
    return '?';
}

std::vector<GlyphBytes> glyph_table(const CharsetEncoder& encode, std::string_view acsc) {
    std::vector<GlyphBytes> table;
    table.reserve(256);
    for (int b = 0; b < 256; ++b)
        table.push_back(bytes_for(glyph_unicode(static_cast<std::uint8_t>(b)), encode, acsc));
    return table;
}

} // namespace console::ansi
