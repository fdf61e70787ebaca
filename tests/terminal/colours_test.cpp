#include "console/posix/ansi_colours.hpp"

#include <gtest/gtest.h>

namespace {

using namespace console::posix;

TEST(ConsoleColours, MapToAnsiWithTheBitOrderReversed) {
    // console: bit 0 blue, bit 1 green, bit 2 red; ANSI: bit 0 red.
    const int expected_fg[16] = {30, 34, 32, 36, 31, 35, 33, 37, 90, 94, 92, 96, 91, 95, 93, 97};
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(sgr_foreground(c), expected_fg[c]) << "colour " << c;
        EXPECT_EQ(sgr_background(c), expected_fg[c] + 10) << "colour " << c;
    }
    EXPECT_EQ(ansi_index(1), 4);
    EXPECT_EQ(ansi_index(6), 3);
    EXPECT_EQ(ansi_index(14), 11);
}

TEST(ConsoleColours, AttributeIsBackgroundTimesSixteenPlusForeground) {
    EXPECT_EQ(pen_of(0x1e), (Pen{14, 1}));
    EXPECT_EQ(pen_of(7), (Pen{7, 0}));
    // Bits above the low byte carry no colour.
    EXPECT_EQ(pen_of(0x1f2), (Pen{2, 15}));
}

TEST(ConsoleColours, SgrNamesOnlyWhatChanged) {
    const Pen grey{7, 0};
    EXPECT_EQ(sgr_change(nullptr, grey), "\x1b[37;40m");
    EXPECT_EQ(sgr_change(&grey, grey), "");
    EXPECT_EQ(sgr_change(&grey, Pen{14, 0}), "\x1b[93m");
    EXPECT_EQ(sgr_change(&grey, Pen{7, 4}), "\x1b[41m");
    EXPECT_EQ(sgr_change(&grey, Pen{15, 9}), "\x1b[97;104m");
}

} // namespace
