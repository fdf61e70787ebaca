#include "console/conio.hpp"
#include "console/memory_console.hpp"
#include "console/services.hpp"

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
    keybd_event(VK_MENU, 56, 0, 0);
    keybd_event(VK_MENU, 56, KEYEVENTF_KEYUP, 0);
    ASSERT_EQ(con.platform.requests().size(), 3u);
    EXPECT_EQ(con.platform.requests()[0],
              (ConsoleRequest{ConsoleRequest::Kind::cursor_info, 100, 0, 0}));
    EXPECT_EQ(con.platform.requests()[2],
              (ConsoleRequest{ConsoleRequest::Kind::key_event, 18, 56, 2}));
}

TEST(VirtualClock, ARunawayGameHitsTheLimit) {
    MemoryConsole con;
    con.platform.set_time_limit_ms(1000);
    EXPECT_THROW(
        for (;;) _sleep(40), ScriptExhausted);
}

} // namespace
