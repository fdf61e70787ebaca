// What the game learns of a terminal from its terminfo entry and the
// locale's charset (the entries come with ncurses-base on every Debian).
#include "console/posix/terminal_description.hpp"

#include <gtest/gtest.h>

namespace {

using console::posix::read_terminfo;
using console::posix::terminal_traits;

TEST(TerminalDescription, FollowsTheEntryAndFallsBackToWritingBlanks) {
    const auto xterm = terminal_traits(read_terminfo("xterm-256color"), {});
    EXPECT_TRUE(xterm.bce);
    EXPECT_EQ(xterm.colours, 256);
    EXPECT_TRUE(xterm.glyphs.empty()) << "UTF-8 as it always was";

    const auto screen = terminal_traits(read_terminfo("screen"), {});
    EXPECT_FALSE(screen.bce);
    EXPECT_EQ(screen.colours, 8);
    EXPECT_EQ(terminal_traits(read_terminfo("vt100"), {}).colours, 0);

    EXPECT_FALSE(read_terminfo("no-such-terminal-here"));
    const auto unknown = terminal_traits(std::nullopt, {});
    EXPECT_FALSE(unknown.bce);
    EXPECT_EQ(unknown.colours, 256);
}

TEST(TerminalDescription, OutsideUtf8UsesTheEntrysLineDrawingSet) {
    console::posix::LocaleCharset ascii;
    ascii.utf8 = false;
    ascii.encode = [](char32_t c) -> std::optional<std::string> {
        if (c >= 0x20 && c < 0x7f)
            return std::string(1, static_cast<char>(c));
        return std::nullopt;
    };
    const auto screen = terminal_traits(read_terminfo("screen"), ascii);
    ASSERT_EQ(screen.glyphs.size(), 256u);
    EXPECT_EQ(screen.line_drawing_on, "\x0e");
    EXPECT_EQ(screen.line_drawing_off, "\x0f");
    EXPECT_EQ(screen.line_drawing_enable, "\x1b(B\x1b)0");
    EXPECT_TRUE(screen.glyphs[0xCD].line_drawing);
    EXPECT_EQ(screen.glyphs[0xCD].bytes, "q");
    // Without an entry there is no line-drawing set: ASCII stand-ins.
    const auto unknown = terminal_traits(std::nullopt, ascii);
    EXPECT_FALSE(unknown.glyphs[0xCD].line_drawing);
    EXPECT_EQ(unknown.glyphs[0xCD].bytes, "=");
}

} // namespace
