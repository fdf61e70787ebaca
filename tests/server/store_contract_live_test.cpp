// The live sessions' queries on each engine: sessions told apart, a batch
// kept once however often it is sent, many sessions' batches committed in
// one transaction or not at all, and a session's end storing its run and
// dropping its batches in one go.
#include "store_contract.hpp"

namespace board::testing {

TEST_P(StoreContract, ALiveSessionKeepsItsBatchesOnceAndEndsAsItsRun) {
    const std::int64_t first = store->open_live(1000);
    const std::int64_t second = store->open_live(1001);
    EXPECT_NE(first, second);
    EXPECT_FALSE(store->live_run(first));

    store->deal_live(first, 1, 4'000'000'000u, 1100);
    EXPECT_THROW(store->deal_live(first, 1, 7, 1101), StoreError); // a game is dealt once
    store->deal_live(second, 1, 7, 1102);

    store->add_live_batch(first, 1, 1200, "orbitrix replay 1\n");
    store->add_live_batch(first, 2, 1450, "key 32 3\n");
    store->add_live_batch(first, 2, 1460, "key 32 3\n"); // sent again: kept once
    store->add_live_batch(second, 1, 1300, "other\n");
    EXPECT_EQ(store->live_lines(first), "orbitrix replay 1\nkey 32 3\n");

    Game ranked = make_game("Ana", 2, 5135, Kind::ranked);
    ranked.holds = 2;
    Game open = make_game("Ana", 1, 40);
    open.reason = "slowed down or sent late";
    const Inserted run = store->end_live(first, make_run("live", 2000, {ranked, open}));
    ASSERT_TRUE(run.created);
    EXPECT_EQ(store->live_run(first), run.id);
    EXPECT_FALSE(store->live_run(second));
    EXPECT_EQ(store->live_lines(first), "");
    EXPECT_EQ(store->live_lines(second), "other\n");

    // A ranked game played live claims no ticket; each keeps why it is open
    // and how often it was held.
    const std::optional<StoredRun> stored = store->run(run.id);
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->games.size(), 2u);
    EXPECT_EQ(stored->games[0].kind, Kind::ranked);
    EXPECT_EQ(stored->games[0].holds, 2);
    EXPECT_EQ(stored->games[1].reason, "slowed down or sent late");
    EXPECT_EQ(1, store->count(BoardQuery{std::nullopt, Kind::ranked}));
}

TEST_P(StoreContract, ManySessionsBatchesAreCommittedTogetherOrNotAtAll) {
    const std::int64_t first = store->open_live(1000);
    const std::int64_t second = store->open_live(1001);
    store->add_live_batch(first, 1, 1200, "a1\n");

    // A tick's group: a batch sent again among new ones of two sessions.
    store->add_live_batches({{second, 1, 1300, "b1\n"},
                             {first, 1, 1300, "a1 again\n"},
                             {first, 2, 1300, "a2\n"},
                             {second, 2, 1300, "b2\n"}});
    // Seen from another connection: committed, not only written.
    const auto other = open();
    EXPECT_EQ(other->live_lines(first), "a1\na2\n");
    EXPECT_EQ(other->live_lines(second), "b1\nb2\n");

    // One batch the database refuses (no such session) fails its whole
    // group: the batches beside it are not kept either, and can be sent again.
    const std::int64_t none = second + 1000;
    EXPECT_THROW(store->add_live_batches({{first, 3, 1500, "a3\n"}, {none, 1, 1500, "x\n"}}),
                 StoreError);
    EXPECT_EQ(other->live_lines(first), "a1\na2\n");
    store->add_live_batches({{first, 3, 1600, "a3\n"}});
    EXPECT_EQ(other->live_lines(first), "a1\na2\na3\n");
    store->add_live_batches({}); // an empty group is no error
}

} // namespace board::testing
