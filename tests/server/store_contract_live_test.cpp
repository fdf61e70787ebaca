// The live sessions' queries on each engine: sessions told apart, a batch
// kept once however often it is sent, and a session's end storing its run
// and dropping its batches in one go.
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

} // namespace board::testing
