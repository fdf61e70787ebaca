#include "console/ansi/size_notice.hpp"

#include "game/exigencias.hpp"
#include "vterm_screen.hpp"

#include <gtest/gtest.h>

namespace {

using namespace console::ansi;
namespace ansi = console::ansi;

const console::NativeNeeds game_needs = game::exigencias_do_console();

std::string notice_for(console::Size have) {
    return size_notice(game_needs.size_notice(have, game_needs.least), have);
}

TEST(SizeNotice, TheGameNeeds80By49) {
    EXPECT_TRUE(ansi::fits(console::Size{80, 49}, game_needs.least));
    EXPECT_TRUE(ansi::fits(console::Size{200, 60}, game_needs.least));
    EXPECT_FALSE(ansi::fits(console::Size{79, 60}, game_needs.least));
    EXPECT_FALSE(ansi::fits(console::Size{80, 48}, game_needs.least));
}

TEST(SizeNotice, NamesTheSizeNeededAndTheSizeHad) {
    terminal_test::VtermScreen vt(80, 24);
    vt.feed("old text");
    vt.feed(notice_for(console::Size{80, 24}));
    EXPECT_FALSE(vt.shows("old text"));
    EXPECT_TRUE(vt.shows("80 colunas x 49 linhas"));
    EXPECT_TRUE(vt.shows("80 colunas x 24 linhas"));
    EXPECT_TRUE(vt.shows("Ctrl-C encerra o jogo."));
}

TEST(SizeNotice, WrapsToANarrowTerminalAndStopsAtItsBottom) {
    terminal_test::VtermScreen vt(20, 6);
    vt.feed(notice_for(console::Size{20, 6}));
    EXPECT_TRUE(vt.shows("colunas x 49 linhas"));
    for (int y = 0; y < 6; ++y)
        EXPECT_NE(vt.row(y).substr(0, 1), " ") << "row " << y << " is " << vt.row(y);
    EXPECT_EQ(vt.cursor_y(), 5);
    terminal_test::VtermScreen tiny(4, 2);
    tiny.feed(notice_for(console::Size{4, 2}));
    EXPECT_EQ(tiny.row(0), "Term");
}

} // namespace
