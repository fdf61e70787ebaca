#include "console/posix/terminal_modes.hpp"

#include "vterm_screen.hpp"

#include <gtest/gtest.h>

namespace {

using namespace console::posix;

termios cooked() {
    termios t{};
    t.c_iflag = ICRNL | IXON | BRKINT;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ECHO | ECHOE | ICANON | ISIG | IEXTEN;
    t.c_cflag = CS7 | PARENB | CREAD;
    t.c_cc[VMIN] = 0;
    return t;
}

TEST(RawMode, KeysOneByOneWithoutEchoSignalsKept) {
    const termios raw = raw_mode(cooked());
    EXPECT_FALSE(raw.c_lflag & ECHO);
    EXPECT_FALSE(raw.c_lflag & ICANON);
    EXPECT_TRUE(raw.c_lflag & ISIG);   // Ctrl-C, Ctrl-Z
    EXPECT_FALSE(raw.c_iflag & IXON);  // Ctrl-S cannot freeze the game
    EXPECT_FALSE(raw.c_iflag & ICRNL); // Enter arrives as CR
    EXPECT_FALSE(raw.c_oflag & OPOST); // "\n" is not turned into "\r\n"
    EXPECT_EQ(raw.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(raw.c_cflag & CREAD);
    EXPECT_EQ(raw.c_cc[VMIN], 1);
    EXPECT_EQ(raw.c_cc[VTIME], 0);
}

TEST(ScreenModes, TheLastCellCanBeWrittenWithoutScrolling) {
    terminal_test::VtermScreen vt(80, 49);
    vt.feed(enter_sequence());
    EXPECT_TRUE(vt.alternate_screen());
    vt.feed("\x1b[Htop\x1b[49;80HZ");
    EXPECT_EQ(vt.row(0).substr(0, 3), "top");
    EXPECT_EQ(vt.cell(79, 48).ch, U'Z');
    vt.feed("Y"); // still on the last cell, no wrap
    EXPECT_EQ(vt.row(0).substr(0, 3), "top");
    EXPECT_EQ(vt.cell(79, 48).ch, U'Y');
}

TEST(ScreenModes, LeavingPutsTheTerminalBack) {
    terminal_test::VtermScreen vt(20, 5);
    vt.feed("shell");
    vt.feed(enter_sequence());
    vt.feed("\x1b[?25l\x1b[93;44mgame");
    vt.feed(leave_sequence());
    EXPECT_FALSE(vt.alternate_screen());
    EXPECT_TRUE(vt.cursor_visible());
    EXPECT_EQ(vt.row(0).substr(0, 5), "shell");
    vt.feed("\x1b[5;1Habcdefghijklmnopqrstuvwxyz"); // autowrap is back
    EXPECT_EQ(vt.cell(0, 4).ch, U'u');
    EXPECT_EQ(vt.cell(0, 4).foreground, -1); // plain colours
}

} // namespace
