#include "console/ansi/ansi_colours.hpp"

#include <gtest/gtest.h>

namespace {

using namespace console::ansi;
namespace ansi = console::ansi;

TEST(ConsoleColours, MapToAnsiWithTheBitOrderReversed) {
    // console: bit 0 blue, bit 1 green, bit 2 red; ANSI: bit 0 red.
    const int expected_fg[16] = {30, 34, 32, 36, 31, 35, 33, 37, 90, 94, 92, 96, 91, 95, 93, 97};
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(ansi::sgr_foreground(c), expected_fg[c]) << "colour " << c;
        EXPECT_EQ(ansi::sgr_background(c), expected_fg[c] + 10) << "colour " << c;
    }
    EXPECT_EQ(ansi::ansi_index(1), 4);
    EXPECT_EQ(ansi::ansi_index(6), 3);
    EXPECT_EQ(ansi::ansi_index(14), 11);
}

TEST(ConsoleColours, AttributeIsBackgroundTimesSixteenPlusForeground) {
    EXPECT_EQ(ansi::pen_of(0x1e), (ansi::Pen{14, 1}));
    EXPECT_EQ(ansi::pen_of(7), (ansi::Pen{7, 0}));
    // Bits above the low byte carry no colour.
    EXPECT_EQ(ansi::pen_of(0x1f2), (ansi::Pen{2, 15}));
}

TEST(ConsoleColours, SgrNamesOnlyWhatChanged) {
    const Pen grey{7, 0};
    EXPECT_EQ(ansi::sgr_change(nullptr, grey), "\x1b[37;40m");
    EXPECT_EQ(ansi::sgr_change(&grey, grey), "");
    EXPECT_EQ(ansi::sgr_change(&grey, ansi::Pen{14, 0}), "\x1b[93m");
    EXPECT_EQ(ansi::sgr_change(&grey, ansi::Pen{7, 4}), "\x1b[41m");
    EXPECT_EQ(ansi::sgr_change(&grey, ansi::Pen{15, 9}), "\x1b[97;104m");
}

} // namespace
