// A batch kept in the store reads back as it read when it came: its
// events, its frame, its holds and the time it came, for a server that
// replays the session again; and what does not read is refused whole.
#include "server/live/kept_batch.hpp"

#include <gtest/gtest.h>

namespace {

TEST(KeptBatch, ReadsBackAsItWasReadWhenItCame) {
    struct Case {
        const char* what;
        std::int64_t seq;
        std::string lines;
        std::vector<live::BatchHold> holds;
        std::size_t events;
    };
    const std::vector<Case> cases = {
        {"the first, with the header",
         1,
         "orbitrix replay 1\norbitrix 1.0 linux\ntime 17\n",
         {},
         1},
        {"keys and holds", 7, "key 32 3\nkey 100 0\n", {{12, 3000}, {40, 9}}, 2},
        {"empty of lines, where the game stands", 9, "", {{5, 250}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const board::LiveBatch kept{c.seq, 1'765'000'000'123, c.lines, 44,
                                    live::holds_text(c.holds)};
        const auto read = live::restored_batch(kept);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->events.size(), c.events);
        EXPECT_EQ(read->mark.seq, c.seq);
        EXPECT_EQ(read->mark.frame, 44);
        EXPECT_EQ(read->mark.arrived_ms, 1'765'000'000'123);
        EXPECT_EQ(read->mark.holds, c.holds);
    }
    EXPECT_EQ(live::holds_text({{12, 3000}}), "[[12,3000]]");
}

TEST(KeptBatch, WhatDoesNotReadIsRefusedWhole) {
    const std::vector<board::LiveBatch> unread = {
        {1, 0, "key 32 3\n", 0, "[]"},       // the first without its header
        {2, 0, "nonsense\n", 0, "[]"},       // not a recording's line
        {2, 0, "key 32 3\n", 0, "[[1]]"},    // a hold that is not [frame, ms]
        {2, 0, "key 32 3\n", 0, "not json"}, // holds that do not parse
        {2, 0, "key 32 3\n", -1, "[]"},      // no frame count
    };
    for (const board::LiveBatch& kept : unread)
        EXPECT_FALSE(live::restored_batch(kept)) << kept.lines << kept.holds;
}

} // namespace
