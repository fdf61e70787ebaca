// The cast a run's page plays: made from the stored recording, then served
// from a cache that holds the most recently asked for under its cap.
#include "memory_store.hpp"
#include "server/pages/run_cast.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

using namespace board::pages;
using pages_test::game;
using pages_test::MemoryStore;

std::string committed_recording() {
    std::ifstream file(std::string(ORBITRIX_TEST_DATA) + "/session.replay", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(RunCast, IsMadeFromTheRecordingOnceThenServedFromTheCache) {
    MemoryStore store;
    CastCache casts(std::size_t{64} << 20);
    const auto id =
        store.add({0, "", 0, "m", {game("Ana", 0, 4, 4), game("Bob", 0)}}, committed_recording());
    const auto first = run_cast(store, casts, id);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->rfind("{\"version\":2,\"width\":80,\"height\":50", 0), 0u);
    // A marker at each game's start, which the page's player steps between.
    EXPECT_NE(first->find("\"m\",\"Partida 1: Ana"), std::string::npos);
    EXPECT_NE(first->find("\"m\",\"Partida 2: Bob"), std::string::npos);
    EXPECT_EQ(casts.bytes(), first->size());
    EXPECT_EQ(run_cast(store, casts, id), first); // the same bytes, not made again
}

TEST(RunCast, NoneForNoRunAndAnErrorForARecordingThatMakesNone) {
    MemoryStore store;
    CastCache casts(std::size_t{64} << 20);
    EXPECT_FALSE(run_cast(store, casts, 1));
    std::string edited = committed_recording();
    edited.replace(edited.find("\"Ana\""), 5, "\"Eva\"");
    const auto id = store.add({0, "", 0, "m", {}}, edited);
    EXPECT_THROW(run_cast(store, casts, id), board::StoreError);
    EXPECT_EQ(casts.bytes(), 0u);
}

// Each step keeps a cast of some size or asks for one; what the cache then
// holds, most recent first.
TEST(CastCache, KeepsTheMostRecentlyUsedUnderItsCap) {
    struct Step {
        char op; // k: keep run with size bytes; f: find run
        std::int64_t run;
        std::size_t size;
        std::vector<std::int64_t> held;
    };
    const std::vector<Step> steps = {
        {'k', 1, 40, {1}},     {'k', 2, 40, {2, 1}},
        {'f', 1, 0, {1, 2}},   // asked for: now the most recent
        {'k', 3, 40, {3, 1}},  // 2 goes first to make room
        {'k', 4, 101, {3, 1}}, // larger than the cap: not kept
        {'k', 1, 10, {1, 3}},  // kept again: its old size is given back
        {'k', 5, 90, {5, 1}},  // 3 goes, then 1 still fits beside it
        {'k', 6, 100, {6}},    // exactly the cap
    };
    CastCache cache(100);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        if (s.op == 'k')
            cache.keep(s.run, std::make_shared<const std::string>(s.size, 'x'));
        else
            EXPECT_TRUE(cache.find(s.run)) << "step " << i;
        std::size_t bytes = 0;
        for (std::int64_t run = 1; run <= 6; ++run) {
            const bool expected = std::find(s.held.begin(), s.held.end(), run) != s.held.end();
            const auto found = cache.find(run);
            EXPECT_EQ(bool(found), expected) << "step " << i << ", run " << run;
            bytes += found ? found->size() : 0;
        }
        EXPECT_EQ(cache.bytes(), bytes) << "step " << i;
        // The look-ups above reordered the cache: put it back as expected.
        for (auto held = s.held.rbegin(); held != s.held.rend(); ++held)
            cache.find(*held);
    }
}

} // namespace
