#include "console/glyphs.hpp"

#include <array>
#include <string>

namespace console {
namespace {

constexpr std::array<char32_t, 32> low{
    U' ',      U'\u263A', U'\u263B', U'\u2665', U'\u2666', U'\u2663', U'\u2660', U'\u2022',
    U'\u25D8', U'\u25CB', U'\u25D9', U'\u2642', U'\u2640', U'\u266A', U'\u266B', U'\u263C',
    U'\u25BA', U'\u25C4', U'\u2195', U'\u203C', U'\u00B6', U'\u00A7', U'\u25AC', U'\u21A8',
    U'\u2191', U'\u2193', U'\u2192', U'\u2190', U'\u221F', U'\u2194', U'\u25B2', U'\u25BC'};

constexpr std::array<char32_t, 128> high{
    // 0x80
    U'\u00C7', U'\u00FC', U'\u00E9', U'\u00E2', U'\u00E4', U'\u00E0', U'\u00E5', U'\u00E7',
    U'\u00EA', U'\u00EB', U'\u00E8', U'\u00EF', U'\u00EE', U'\u00EC', U'\u00C4', U'\u00C5',
    // 0x90
    U'\u00C9', U'\u00E6', U'\u00C6', U'\u00F4', U'\u00F6', U'\u00F2', U'\u00FB', U'\u00F9',
    U'\u00FF', U'\u00D6', U'\u00DC', U'\u00F8', U'\u00A3', U'\u00D8', U'\u00D7', U'\u0192',
    // 0xA0
    U'\u00E1', U'\u00ED', U'\u00F3', U'\u00FA', U'\u00F1', U'\u00D1', U'\u00AA', U'\u00BA',
    U'\u00BF', U'\u00AE', U'\u00AC', U'\u00BD', U'\u00BC', U'\u00A1', U'\u00AB', U'\u00BB',
    // 0xB0
    U'\u2591', U'\u2592', U'\u2593', U'\u2502', U'\u2524', U'\u00C1', U'\u00C2', U'\u00C0',
    U'\u00A9', U'\u2563', U'\u2551', U'\u2557', U'\u255D', U'\u00A2', U'\u00A5', U'\u2510',
    // 0xC0
    U'\u2514', U'\u2534', U'\u252C', U'\u251C', U'\u2500', U'\u253C', U'\u00E3', U'\u00C3',
    U'\u255A', U'\u2554', U'\u2569', U'\u2566', U'\u2560', U'\u2550', U'\u256C', U'\u00A4',
    // 0xD0
    U'\u00F0', U'\u00D0', U'\u00CA', U'\u00CB', U'\u00C8', U'\u0131', U'\u00CD', U'\u00CE',
    U'\u00CF', U'\u2518', U'\u250C', U'\u2588', U'\u2584', U'\u00A6', U'\u00CC', U'\u2580',
    // 0xE0
    U'\u00D3', U'\u00DF', U'\u00D4', U'\u00D2', U'\u00F5', U'\u00D5', U'\u00B5', U'\u00FE',
    U'\u00DE', U'\u00DA', U'\u00DB', U'\u00D9', U'\u00FD', U'\u00DD', U'\u00AF', U'\u00B4',
    // 0xF0: the soft hyphen is shown as a plain one, since terminals may
    // give it no cell at all.
    U'-', U'\u00B1', U'\u2017', U'\u00BE', U'\u00B6', U'\u00A7', U'\u00F7', U'\u00B8', U'\u00B0',
    U'\u00A8', U'\u00B7', U'\u00B9', U'\u00B3', U'\u00B2', U'\u25A0', U'\u00A0'};

struct Utf8Table {
    std::array<std::string, 256> text;
    Utf8Table() {
        for (int b = 0; b < 256; ++b)
            text[static_cast<std::size_t>(b)] =
                utf8_of(glyph_unicode(static_cast<std::uint8_t>(b)));
    }
};

const Utf8Table& utf8_table() {
    static const Utf8Table table;
    return table;
}

} // namespace

std::string utf8_of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

char32_t glyph_unicode(std::uint8_t byte) {
    if (byte < 32)
        return low[byte];
    if (byte == 127)
        return U'\u2302';
    if (byte < 128)
        return byte;
    return high[byte - 128u];
}

std::string_view glyph_utf8(std::uint8_t byte) {
    return utf8_table().text[byte];
}

std::string text_utf8(std::string_view bytes) {
    std::string text;
    for (const char c : bytes)
        text += glyph_utf8(static_cast<std::uint8_t>(c));
    return text;
}

std::optional<std::uint8_t> byte_for_unicode(char32_t ch) {
    if (ch >= 32 && ch < 127)
        return static_cast<std::uint8_t>(ch);
    if (ch == U'\u00AD')
        return 0xF0;
    for (std::size_t i = 0; i < high.size(); ++i)
        if (high[i] == ch && ch != U'-')
            return static_cast<std::uint8_t>(128 + i);
    return std::nullopt;
}

std::optional<char32_t> text_character(std::uint8_t byte) {
    const char32_t c = glyph_unicode(byte);
    if (byte_for_unicode(c) != byte)
        return std::nullopt;
    return c;
}

} // namespace console
