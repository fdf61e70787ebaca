#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include <gtest/gtest.h>

using namespace console;

namespace {

TEST(Random, IsTheClassicFifteenBitGenerator) {
    Random15 r;
    r.seed(1);
    EXPECT_EQ(r.next(), 41);
    EXPECT_EQ(r.next(), 18467);
    EXPECT_EQ(r.next(), 6334);
    r.seed(12345);
    const int a = r.next();
    r.seed(12345);
    EXPECT_EQ(r.next(), a);
    for (int i = 0; i < 1000; ++i) {
        const int v = r.next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

TEST(Random, ScriptedDrawsComeFirstThenTheGenerator) {
    MemoryConsole con;
    console::srand(1);
    con.platform.script_rand({5, 199});
    EXPECT_EQ(console::rand(), 5);
    EXPECT_EQ(console::rand(), 199);
    EXPECT_EQ(console::rand(), 41);
    EXPECT_EQ(con.platform.rand_calls(), 3u);
    EXPECT_EQ(con.platform.last_seed(), 1u);
}

TEST(Printing, FormatsBytesNumbersAndText) {
    MemoryConsole con;
    clrscr();
    textcolor(2);
    gotoxy(61, 5);
    console::printf(" Vidas %c :", 3);
    EXPECT_EQ(con.screen.text(61, 5, 10), std::string(" Vidas \x03 :"));
    EXPECT_EQ(con.screen.at(61, 5).attr, 2);
    gotoxy(70, 7);
    console::printf("%i", 120);
    gotoxy(1, 2);
    console::printf("%i|%i|%s|100%%", -5, 0, std::string_view("ok"));
    EXPECT_EQ(con.screen.text(70, 7, 3), "120");
    EXPECT_EQ(con.screen.text(1, 2, 12), "-5|0|ok|100%");
    gotoxy(1, 3);
    console::printf("%c", 190);
    EXPECT_EQ(con.screen.at(1, 3).ch, 190);
}

TEST(Printing, PutsEndsTheLine) {
    MemoryConsole con;
    clrscr();
    gotoxy(69, 3);
    console::puts("Ana");
    EXPECT_EQ(con.screen.text(69, 3, 3), "Ana");
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 3}));
}

TEST(VirtualClock, SleepsAndTonesAdvanceItAndAreLogged) {
    MemoryConsole con;
    _sleep(40);
    Beep(660, 10);
    _beep(114, 48);
    EXPECT_EQ(con.platform.now_ms(), 98);
    ASSERT_EQ(con.platform.tones().size(), 2u);
    EXPECT_EQ(con.platform.tones()[0], (Tone{660, 10, 40}));
    EXPECT_EQ(con.platform.tones()[1], (Tone{114, 48, 50}));
    EXPECT_EQ(con.platform.sleeps(), std::vector<int>{40});
}

TEST(ScriptedKeys, TimedKeysWaitForTheClock) {
    MemoryConsole con;
    con.platform.push_key('a');
    con.platform.push_key('1', 3000);
    EXPECT_EQ(_kbhit(), 1);
    EXPECT_EQ(_getch(), 'a');
    EXPECT_EQ(_kbhit(), 0);
    _sleep(2999);
    EXPECT_EQ(_kbhit(), 0);
    _sleep(1);
    EXPECT_EQ(_kbhit(), 1);
    EXPECT_EQ(_getch(), '1');
    EXPECT_THROW(_getch(), ScriptExhausted);
}

TEST(ScriptedKeys, GetchBlocksUntilAFutureKey) {
    MemoryConsole con;
    con.platform.push_key('x', 500);
    EXPECT_EQ(_getch(), 'x');
    EXPECT_EQ(con.platform.now_ms(), 500);
}

TEST(ConsoleRequests, AreLoggedInOrder) {
    MemoryConsole con;
    SetConsoleCursorInfo(100, false);
    request_full_screen();
    SetConsoleCursorInfo(25, true);
    ASSERT_EQ(con.platform.requests().size(), 3u);
    EXPECT_EQ(con.platform.requests()[0],
              (ConsoleRequest{ConsoleRequest::Kind::cursor_info, 100, 0}));
    EXPECT_EQ(con.platform.requests()[1], (ConsoleRequest{ConsoleRequest::Kind::full_screen}));
    EXPECT_EQ(con.platform.requests()[2],
              (ConsoleRequest{ConsoleRequest::Kind::cursor_info, 25, 1}));
}

TEST(VirtualClock, ARunawayGameHitsTheLimit) {
    MemoryConsole con;
    con.platform.set_time_limit_ms(1000);
    EXPECT_THROW(for (;;) _sleep(40), ScriptExhausted);
}

} // namespace

#include "console/glyphs.hpp"

namespace {

TEST(Glyphs, TheGamesBytesShowAsTheirPcGlyphs) {
    using console::glyph_utf8;
    EXPECT_EQ(glyph_utf8(1), "\u263A");
    EXPECT_EQ(glyph_utf8(2), "\u263B");
    EXPECT_EQ(glyph_utf8(3), "\u2665");
    EXPECT_EQ(glyph_utf8(12), "\u2640");
    EXPECT_EQ(glyph_utf8(15), "\u263C");
    EXPECT_EQ(glyph_utf8(22), "\u25AC");
    EXPECT_EQ(glyph_utf8(25), "\u2193");
    EXPECT_EQ(glyph_utf8(190), "\u00A5");
    EXPECT_EQ(glyph_utf8(185), "\u2563");
    EXPECT_EQ(glyph_utf8(186), "\u2551");
    EXPECT_EQ(glyph_utf8(187), "\u2557");
    EXPECT_EQ(glyph_utf8(188), "\u255D");
    EXPECT_EQ(glyph_utf8(200), "\u255A");
    EXPECT_EQ(glyph_utf8(201), "\u2554");
    EXPECT_EQ(glyph_utf8(202), "\u2569");
    EXPECT_EQ(glyph_utf8(203), "\u2566");
    EXPECT_EQ(glyph_utf8(204), "\u2560");
    EXPECT_EQ(glyph_utf8(205), "\u2550");
    EXPECT_EQ(glyph_utf8('!'), "!");
    EXPECT_EQ(glyph_utf8(0), " ");
}

TEST(Glyphs, EveryByteIsOnePrintableCharacterAndTypedLettersRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const char32_t c = console::glyph_unicode(static_cast<std::uint8_t>(b));
        ASSERT_GE(c, U' ') << b;
        ASSERT_FALSE(c >= 0x7F && c < 0xA0) << b;
        if (b >= 32 && b != 0xF0 && (b < 127 || b >= 128)) {
            if (b == 0xF4 || b == 0xF5)
                continue; // pilcrow and section sign also stand for 20 and 21
            ASSERT_EQ(console::byte_for_unicode(c), b) << b;
        }
    }
    EXPECT_EQ(console::byte_for_unicode(U'\u00E9'), 0x82); // e acute
    EXPECT_EQ(console::byte_for_unicode(U'\u00E7'), 0x87); // c cedilla
    EXPECT_EQ(console::byte_for_unicode(U'\u00E3'), 0xC6); // a tilde
    EXPECT_EQ(console::byte_for_unicode(U'\u4E2D'), std::nullopt);
    EXPECT_EQ(console::byte_for_unicode(U'\t'), std::nullopt);
}

} // namespace
