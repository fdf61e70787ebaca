// The live judge's rules on timelines written out by hand, and the reader
// of a stranger's batches and deals.
#include "server/http/body_stream.hpp"
#include "server/live/batch_body.hpp"
#include "server/live/live_judge.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using live::Judged;

TEST(LiveJudge, OpensAGameForEachReasonAndOnlyThen) {
    struct Step {
        Judged batch;
        bool moved = true;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        const char* reason_has; // nullptr: still ranked
    };
    // A batch every second, the game reaching 1 s of least time a second.
    const auto steady = [](double factor, int seconds) {
        std::vector<Step> steps;
        for (int s = 1; s <= seconds; ++s)
            steps.push_back({Judged{static_cast<std::int64_t>(s * 1000 * factor), s * 1000, 0, 0}});
        return steps;
    };
    std::vector<Step> pause = steady(1.0, 20);
    for (int s = 21; s <= 80; ++s) // standing still at a prompt for a minute
        pause.push_back({Judged{s * 1000, 20'000, 0, 0}, false});
    pause.push_back({Judged{81'000, 21'000, 1, 60'000}});
    std::vector<Step> unheld = pause;
    unheld.back().batch = Judged{81'000, 21'000, 0, 0};

    const std::vector<Case> cases = {
        {"in real time", steady(1.0, 120), nullptr},
        {"with 1.3 times the least time", steady(1.3, 120), nullptr},
        {"at half speed", steady(2.0, 120), "slowed down"},
        {"slowed down only for a while",
         [&] {
             auto steps = steady(1.0, 60);
             for (int s = 1; s <= 60; ++s) // 30 s of play over a minute
                 steps.push_back({Judged{60'000 + s * 1000, 60'000 + s * 500, 0, 0}});
             return steps;
         }(),
         "slowed down"},
        {"keys sooner than the game can be played",
         {{Judged{1000, 1000, 0, 0}}, {Judged{1500, 9000, 0, 0}}},
         "made in advance"},
        {"a little sooner, within the tolerance", {{Judged{1000, 1200, 0, 0}}}, nullptr},
        {"a minute's pause with its hold", pause, nullptr},
        {"a minute standing still, no hold", unheld, "slowed down"},
        {"six holds",
         [] {
             std::vector<Step> steps;
             for (int s = 1; s <= 6; ++s)
                 steps.push_back({Judged{s * 2000, s * 1000, 1, 1000}});
             return steps;
         }(),
         "held too often"},
        {"three minutes held in all", {{Judged{200'000, 20'000, 1, 180'000}}}, "held too often"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        live::Judge judge;
        for (const Step& step : c.steps)
            judge.add(step.batch, step.moved);
        if (c.reason_has == nullptr)
            EXPECT_FALSE(judge.open()) << *judge.reason();
        else {
            ASSERT_TRUE(judge.open());
            EXPECT_NE(judge.reason()->find(c.reason_has), std::string::npos) << *judge.reason();
        }
    }
}

TEST(LiveJudge, TellsTheWorstWindowsRatioOfWallToLeastTime) {
    struct Case {
        const char* what;
        std::vector<Judged> batches;
        double worst;
    };
    // A batch every quarter second, wall time this factor of the least.
    const auto steady = [](double factor, int quarters, std::int64_t from_ms = 0,
                           std::int64_t from_least = 0) {
        std::vector<Judged> batches;
        for (int q = 1; q <= quarters; ++q)
            batches.push_back(Judged{from_ms + static_cast<std::int64_t>(q * 250 * factor),
                                     from_least + q * 250, 0, 0});
        return batches;
    };
    std::vector<Judged> slower_later = steady(1.0, 80);
    for (const Judged& b : steady(1.4, 80, 20'000, 20'000))
        slower_later.push_back(b);
    std::vector<Judged> held = steady(1.0, 80);
    held.push_back(Judged{50'000, 20'250, 1, 29'750}); // a held half minute
    for (const Judged& b : steady(1.0, 80, 50'000, 20'250))
        held.push_back(b);

    const std::vector<Case> cases = {
        {"under a window's worth of play", steady(1.1, 36), 0.0},
        {"in real time", steady(1.0, 200), 1.0},
        {"with 1.2 times the least time", steady(1.2, 200), 1.2},
        {"real time, then 1.4 times", slower_later, 1.4},
        {"a hold is not counted", held, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        live::Judge judge;
        for (const Judged& b : c.batches)
            judge.add(b);
        EXPECT_NEAR(judge.worst_ratio(), c.worst, 0.01);
    }
}

TEST(LiveBatches, ReadsTheExpectedShapeAndRefusesAnyOther) {
    const auto batch = live::read_batch(
        R"({"secret":"9a","seq":3,"lines":"key 32 1\n","frame":120,"holds":[[100,900],[110,400,"key"]],"last":true})");
    ASSERT_TRUE(std::holds_alternative<live::BatchBody>(batch));
    const auto& b = std::get<live::BatchBody>(batch);
    EXPECT_EQ(b.seq, 3);
    EXPECT_EQ(b.frame, 120);
    EXPECT_EQ(b.holds, (std::vector<live::BatchHold>{{100, 900, false}, {110, 400, true}}));
    EXPECT_TRUE(b.last);

    const std::string long_lines(live::MOST_BATCH_LINE_BYTES + 1, 'x');
    for (const std::string& bad : {
             std::string(""),
             std::string("[]"),
             std::string("{"),
             std::string(R"({"seq":1,"lines":"","frame":0})"),
             std::string(R"({"secret":"9A","seq":1,"lines":"","frame":0})"),
             std::string(R"({"secret":"9a","seq":0,"lines":"","frame":0})"),
             std::string(R"({"secret":"9a","seq":1.5,"lines":"","frame":0})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":-1})"),
             std::string(R"({"secret":"9a","seq":1,"lines":7,"frame":0})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":0,"more":1})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":0,"holds":[[1]]})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":0,"holds":{}})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":0,"holds":[[1,2,"k"]]})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":0,"holds":[[1,2,3,4]]})"),
             std::string(R"({"secret":"9a","seq":1,"lines":"","frame":0,"last":1})"),
             std::string(R"({"secret":"9a","seq":1,"frame":0,"lines":")") + long_lines + "\"}",
         })
        EXPECT_TRUE(std::holds_alternative<live::Refused>(live::read_batch(bad)))
            << bad.substr(0, 80);

    EXPECT_TRUE(std::holds_alternative<live::DealBody>(
        live::read_deal(R"({"secret":"5e","name":"Jo\u00e3o","level":49})")));
    for (const char* bad :
         {R"({"secret":"5e","name":"a"})", R"({"secret":"5e","name":1,"level":49})",
          R"({"secret":"5e","name":"a","level":256})", R"({"name":"a","level":49})"})
        EXPECT_TRUE(std::holds_alternative<live::Refused>(live::read_deal(bad))) << bad;
}

} // namespace

namespace {

TEST(BodyStream, HandsOnWhatWaitsWakesTheEdgeAndDropsAWatcherTooFarBehind) {
    board::http::BodyStream stream(8);
    int wakes = 0;
    const auto wake = [&] { ++wakes; };
    EXPECT_EQ(stream.take_or_wait(wake).bytes, ""); // nothing yet: the edge waits
    EXPECT_TRUE(stream.push("abc"));
    EXPECT_EQ(wakes, 1);
    EXPECT_TRUE(stream.push("de")); // nobody waits: no second wake
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(stream.take_or_wait(wake).bytes, "abcde");
    EXPECT_EQ(stream.take_or_wait([] {}).bytes, ""); // written: the edge waits again

    EXPECT_TRUE(stream.push("12345678")); // exactly the allowance
    EXPECT_FALSE(stream.push("9"));       // one past it: dropped
    const auto dropped = stream.take_or_wait(wake);
    EXPECT_TRUE(dropped.dropped);
    EXPECT_EQ(dropped.bytes, "");
    EXPECT_FALSE(stream.open());

    board::http::BodyStream ending(8);
    ending.push("x");
    ending.end();
    EXPECT_FALSE(ending.push("y")); // after its end nothing more goes
    const auto last = ending.take_or_wait(wake);
    EXPECT_EQ(last.bytes, "x");
    EXPECT_TRUE(last.ended);

    board::http::BodyStream left(8);
    EXPECT_EQ(left.take_or_wait(wake).bytes, "");
    left.drop(); // the client went: the kept wake is never called
    EXPECT_FALSE(left.push("z"));
    EXPECT_EQ(wakes, 1);
}

// What the edge took and is still writing is behind as much as what waits:
// a watcher stuck on a write is dropped at the allowance, not at twice it.
TEST(BodyStream, CountsWhatTheEdgeTookAsBehindUntilItTakesAgain) {
    board::http::BodyStream stream(8);
    const auto wake = [] {};
    EXPECT_TRUE(stream.push("12345"));
    EXPECT_EQ(stream.take_or_wait(wake).bytes, "12345"); // being written
    EXPECT_TRUE(stream.push("678"));                     // 8 behind in all
    EXPECT_FALSE(stream.push("9"));
    EXPECT_TRUE(stream.take_or_wait(wake).dropped);

    board::http::BodyStream written(8);
    EXPECT_TRUE(written.push("12345"));
    EXPECT_EQ(written.take_or_wait(wake).bytes, "12345");
    EXPECT_EQ(written.take_or_wait(wake).bytes, ""); // written: nothing behind
    EXPECT_TRUE(written.push("12345678"));
}

} // namespace
