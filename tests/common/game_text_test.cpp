#include "common/game_text.hpp"
#include "common/utc_time.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(GameText, ANameKeepsItsTextAndLosesItsControls) {
    struct Case {
        std::string name;
        std::string shown;
    };
    const std::vector<Case> cases{
        {"Ana", "Ana"},
        {"Jo\xc3\xa3o", "Jo\xc3\xa3o"}, // UTF-8 letters stay
        {"a\tb\nc", "a?b?c"},           // C0 controls
        {"x\x7fy", "x?y"},              // DEL
        {"\x1b[2J", "?[2J"},            // an escape cannot start
        {"a\xc2\x9b"
         "b",
         "a?b"},                  // a C1 control in UTF-8 is one '?'
        {"\xc2\xa0", "\xc2\xa0"}, // U+00A0 is no control
        {"end\xc2", "end\xc2"},   // a lead byte alone at the end
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(common::printable(c.name), c.shown) << c.name;
}

TEST(GameText, LevelsAreOneNumberUnlessTheGameRose) {
    EXPECT_EQ(common::levels_text(3, 3), "3");
    EXPECT_EQ(common::levels_text(1, 2), "1 a 2");
}

TEST(UtcTime, WritesAndReadsBackTheSameSecond) {
    for (const std::int64_t seconds : {0LL, 1'765'000'000LL, 253'402'300'799LL}) {
        const std::string text = common::iso_utc(seconds);
        EXPECT_EQ(common::parse_iso_utc(text), seconds) << text;
    }
    EXPECT_EQ(common::iso_utc(1'765'000'000), "2025-12-06T05:46:40Z");
    EXPECT_FALSE(common::parse_iso_utc("2025-12-06 05:46:40Z"));
}

} // namespace
