// The renderer on terminals other than an xterm in UTF-8: one without
// background colour erase, and one whose locale's charset is Latin-1 or
// plain ASCII. Each glyph stays one cell; blanks keep the pen's background.
#include "console/ansi/frame_renderer.hpp"
#include "console/ansi/glyph_table.hpp"
#include "console/ansi/key_decoder.hpp"
#include "console/glyphs.hpp"
#include "picture_showing.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using console::ansi::Grid;
using console::ansi::render_frame;
using console::ansi::TermCell;
using console::ansi::TerminalPicture;
using console::ansi::TerminalTraits;
using console::ansi::unknown_picture;

using teste::showing;

std::optional<std::string> latin1(char32_t c) {
    if (c >= 0x20 && c < 0x7f)
        return std::string(1, static_cast<char>(c));
    if (c >= 0xa0 && c <= 0xff)
        return std::string(1, static_cast<char>(c));
    return std::nullopt;
}

std::optional<std::string> ascii(char32_t c) {
    if (c >= 0x20 && c < 0x7f)
        return std::string(1, static_cast<char>(c));
    return std::nullopt;
}

// An xterm's line-drawing set, in a Latin-1 locale.
TerminalTraits latin1_xterm() {
    TerminalTraits t;
    t.glyphs = console::ansi::glyph_table(latin1, "``aaffggjjkkllmmnnooppqqrrssttuuvvwwxxyyzz");
    t.line_drawing_on = "\x1b(0";
    t.line_drawing_off = "\x1b(B";
    return t;
}

TEST(RendererWithoutBce, WritesTheBlanksThatErasesWouldFill) {
    TerminalTraits no_bce;
    no_bce.bce = false;
    Grid grid(30, 2, TermCell{'x', 7});
    TerminalPicture with = showing(grid);
    TerminalPicture without = showing(grid);
    for (int x = 2; x < 30; ++x)
        grid.set(x, 0, TermCell{' ', 0x4f});
    for (int x = 2; x < 20; ++x)
        grid.set(x, 1, TermCell{' ', 0x4f});
    EXPECT_EQ(render_frame(with, grid, std::nullopt), "\x1b[1;3H\x1b[97;41m\x1b[K\n\x1b[18X");
    EXPECT_EQ(render_frame(without, grid, std::nullopt, {}, no_bce),
              "\x1b[1;3H\x1b[97;41m" + std::string(28, ' ') + "\x1b[2;3H" + std::string(18, ' '));
    EXPECT_EQ(render_frame(without, grid, std::nullopt, {}, no_bce), "");
}

TEST(RendererInLatin1, GlyphsInTheCharsetThenLineDrawingThenStandIns) {
    const TerminalTraits t = latin1_xterm();
    Grid grid(8, 1);
    const std::uint8_t bytes[] = {0xBE, 0xC9, 0xCD, 0xBB, 'a', 0x0C, 0x82, 0x03};
    for (int x = 0; x < 8; ++x)
        grid.set(x, 0, TermCell{bytes[x], 7});
    TerminalPicture shown = unknown_picture(8, 1);
    shown.cursor_visible = false;
    // ¥ and é as Latin-1 bytes; the double frame in one stay in the
    // line-drawing set; the enemy and the life as their stand-ins.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt, {}, t),
              "\x1b[H\x1b[37;40m\xA5\x1b(0lqk\x1b(Ba"
              "V\xE9+");
    // Every frame ends out of the set, so nothing after it is drawn in it.
    grid.set(3, 0, TermCell{0xCD, 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt, {}, t), "\x1b[1;4H\x1b(0q\x1b(B");
    // A gap rewritten in place of a move is in the set its glyphs need.
    grid.set(1, 0, TermCell{0xCB, 7});
    grid.set(4, 0, TermCell{'b', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt, {}, t), "\b\b\b\x1b(0wqq\x1b(Bb");
}

TEST(GlyphTable, EveryGlyphIsOneCellOfAsciiWithoutACharsetOrLineDrawing) {
    const auto table = console::ansi::glyph_table(ascii, "");
    ASSERT_EQ(table.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        const auto& glyph = table[static_cast<std::size_t>(b)];
        ASSERT_EQ(glyph.bytes.size(), 1u) << b;
        EXPECT_LT(static_cast<unsigned char>(glyph.bytes[0]), 128u) << b;
        EXPECT_GE(static_cast<unsigned char>(glyph.bytes[0]), 32u) << b;
        EXPECT_FALSE(glyph.line_drawing) << b;
    }
    // The play stays readable: ship, enemy, meteor and life apart.
    EXPECT_EQ(table[0xBE].bytes + table[0x0C].bytes + table[0x0F].bytes + table[0x03].bytes,
              "YV*+");
    EXPECT_EQ(table[0xBA].bytes + table[0xCD].bytes + table[0xC9].bytes, "|=+");
}

TEST(KeysInAOneByteCharset, AreReadAsThatCharset) {
    std::vector<char32_t> typed(128, 0);
    for (char32_t c = 0xa0; c <= 0xff; ++c)
        typed[c - 0x80] = c;
    console::ansi::KeyDecoder d(typed);
    // Z, é, a byte the charset leaves undefined, Alt+é, ç, then Enter.
    const std::string bytes = "Z\xE9\x85\x1b\xE9\xE7\r";
    d.feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    d.idle(1000);
    std::vector<int> got;
    while (d.has_key())
        got.push_back(d.take());
    EXPECT_EQ(got, (std::vector<int>{'Z', *console::byte_for_unicode(U'\u00E9'),
                                     *console::byte_for_unicode(U'\u00E7'), 13}));
}

} // namespace
