// A session's delay line on a clock the test turns by hand: nothing is let
// through before its time, a late joiner gets the screen as it stood a
// delay ago, the points lag like the screen, and a line that overflows
// keeps its bound and skips its watchers to a whole screen.
#include "server/live/delay_line.hpp"

#include <gtest/gtest.h>

namespace live {
namespace {

constexpr std::int64_t DELAY = 10'000;
constexpr std::size_t ROOMY = std::size_t{1} << 20;

TEST(DelayLine, LetsEachPieceThroughOnlyOnceItIsADelayOld) {
    DelayLine line(DELAY, ROOMY);
    line.screen(0, "S0 ");
    line.output(100, "a ");
    line.points(150, 40);
    line.output(200, "b ");
    line.output(12'000, "c ");

    struct Step {
        std::int64_t now;
        std::string watchers_get;
        std::optional<std::int64_t> points;
        std::optional<std::string> joiner_gets;
    };
    const std::vector<Step> steps = {
        {9'999, "", std::nullopt, std::nullopt}, // nothing of the game yet
        {10'100, "a ", std::nullopt, "S0 a "},   // the screen itself only to joiners
        {10'150, "", 40, "S0 a "},
        {11'000, "b ", std::nullopt, "S0 a b "},
        {21'999, "", std::nullopt, "S0 a b "},
        {22'000, "c ", std::nullopt, "S0 a b c "},
    };
    for (const Step& s : steps) {
        const DelayLine::Released out = line.release(s.now);
        EXPECT_EQ(out.events, s.watchers_get) << "at " << s.now;
        EXPECT_EQ(out.points, s.points) << "at " << s.now;
        EXPECT_EQ(line.joined(), s.joiner_gets) << "at " << s.now;
    }
    EXPECT_TRUE(line.drained());
}

TEST(DelayLine, KeepsOfWhatItReleasedOnlyWhatFollowsTheLastWholeScreen) {
    DelayLine line(DELAY, ROOMY);
    line.screen(0, "S0 ");
    line.output(100, std::string(1000, 'x'));
    line.screen(2'000, "S2 ");
    line.output(2'100, "d ");
    line.output(5'000, "e ");
    const std::size_t holding = line.bytes();
    line.release(12'500);
    EXPECT_EQ(line.joined(), "S2 d ");
    EXPECT_LT(line.bytes(), holding - 1000);
    EXPECT_FALSE(line.drained());
}

TEST(DelayLine, OverflowingDropsTheOldestAndSkipsWatchersToTheNextScreen) {
    DelayLine line(DELAY, 600);
    line.screen(0, "S0 ");
    for (int i = 0; i < 20; ++i)
        line.output(100 + i, std::string(50, 'o'));
    line.screen(1'000, "S1 ");
    line.output(1'100, "f ");
    EXPECT_LE(line.bytes(), 600u);

    // What was lost before it was let through is never half drawn: the
    // watchers get nothing until the next whole screen, then it and on.
    EXPECT_EQ(line.release(10'500).events, "");
    EXPECT_EQ(line.joined(), std::nullopt);
    EXPECT_EQ(line.release(11'100).events, "S1 f ");
    EXPECT_EQ(line.joined(), "S1 f ");
}

TEST(DelayLine, AsksForAWholeScreenATenthOfTheDelayApartASecondAtLeast) {
    const struct {
        std::int64_t delay;
        std::int64_t every;
    } cases[] = {{60'000, 6'000}, {5'000, 1'000}};
    for (const auto& c : cases) {
        DelayLine line(c.delay, ROOMY);
        EXPECT_TRUE(line.ask_screen(0)) << c.delay;
        EXPECT_FALSE(line.ask_screen(c.every - 1)) << c.delay;
        EXPECT_TRUE(line.ask_screen(c.every)) << c.delay;
    }
}

} // namespace
} // namespace live
