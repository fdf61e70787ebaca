// The live sessions' queries on each engine: sessions told apart, a batch
// kept once however often it is sent, and a session's end storing its run
// and dropping its batches in one go; what a server that did not open a
// session reads to carry it on, and the counts by which two servers
// feeding one session find that the other moved it on.
#include "store_contract.hpp"

namespace board::testing {
namespace {

LiveBatch batch(std::int64_t seq, std::int64_t at_ms, std::string lines, std::int64_t frame = 0,
                std::string holds = "[]") {
    return LiveBatch{seq, at_ms, std::move(lines), frame, std::move(holds)};
}

LiveDeal deal(int number, std::uint32_t seed, std::int64_t at_ms, std::string name = "Ana") {
    return LiveDeal{number, seed, at_ms, "5e" + std::to_string(number), std::move(name), '1'};
}

} // namespace

TEST_P(StoreContract, ALiveSessionKeepsItsBatchesOnceAndEndsAsItsRun) {
    const std::int64_t first = store->open_live(LiveOpened{1000, "aa", "192.0.2.1"});
    const std::int64_t second = store->open_live(LiveOpened{1001, "bb", "192.0.2.2"});
    EXPECT_NE(first, second);
    EXPECT_FALSE(store->live_run(first));

    EXPECT_TRUE(store->deal_live(first, deal(1, 4'000'000'000u, 1100)));
    EXPECT_FALSE(store->deal_live(first, deal(1, 7, 1101))); // a game is dealt once
    EXPECT_TRUE(store->deal_live(second, deal(1, 7, 1102)));

    EXPECT_TRUE(store->add_live_batch(first, batch(1, 1200, "orbitrix replay 1\n")).kept);
    EXPECT_TRUE(store->add_live_batch(first, batch(2, 1450, "key 32 3\n")).kept);
    const LiveKept again = store->add_live_batch(first, batch(2, 1460, "key 32 3\n"));
    EXPECT_FALSE(again.kept); // sent again: kept once
    EXPECT_FALSE(again.ended);
    EXPECT_EQ(again.batches, 2);
    EXPECT_TRUE(store->add_live_batch(second, batch(1, 1300, "other\n")).kept);
    EXPECT_EQ(store->live_lines(first), "orbitrix replay 1\nkey 32 3\n");

    Game ranked = make_game("Ana", 2, 5135, Kind::ranked);
    ranked.holds = 2;
    Game open = make_game("Ana", 1, 40);
    open.reason = "slowed down or sent late";
    const std::optional<Inserted> run =
        store->end_live(first, make_run("live", 2000, {ranked, open}), 2, 1);
    ASSERT_TRUE(run && run->created);
    EXPECT_EQ(store->live_run(first), run->id);
    EXPECT_FALSE(store->live_run(second));
    EXPECT_EQ(store->live_lines(first), "");
    EXPECT_EQ(store->live_lines(second), "other\n");

    // A ranked game played live claims no ticket; each keeps why it is open
    // and how often it was held.
    const std::optional<StoredRun> stored = store->run(run->id);
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->games.size(), 2u);
    EXPECT_EQ(stored->games[0].kind, Kind::ranked);
    EXPECT_EQ(stored->games[0].holds, 2);
    EXPECT_EQ(stored->games[1].reason, "slowed down or sent late");
    EXPECT_EQ(1, store->count(BoardQuery{std::nullopt, Kind::ranked}));

    // Ended, it takes nothing more, and ends once.
    const LiveKept late = store->add_live_batch(first, batch(3, 2100, "key 27 0\n"));
    EXPECT_FALSE(late.kept);
    EXPECT_TRUE(late.ended);
    EXPECT_FALSE(store->deal_live(first, deal(2, 9, 2100)));
    EXPECT_FALSE(store->end_live(first, make_run("live again", 2200, {open}), 2, 1));
    EXPECT_EQ(2, store->count(BoardQuery{})); // the one run's two games
}

TEST_P(StoreContract, ALiveSessionReadsBackAsKeptForAnotherServer) {
    const std::int64_t id = store->open_live(LiveOpened{1000, "a1b2", "2001:db8::7"});
    const std::int64_t other = store->open_live(LiveOpened{1001, "c3d4", "192.0.2.9"});
    ASSERT_TRUE(store->deal_live(id, deal(1, 4'000'000'000u, 1100, "Ana")));
    ASSERT_TRUE(store->deal_live(id, deal(2, 17, 1900, "Zé")));
    const std::vector<LiveBatch> sent{
        batch(1, 1200, "orbitrix replay 1\norbitrix 1.0 linux\n", 0),
        batch(2, 1450, "key 32 3\n", 40, "[[12,3000]]"),
        batch(3, 1700, "", 52, "[[41,250],[50,9]]"),
    };
    for (const LiveBatch& b : sent)
        ASSERT_TRUE(store->add_live_batch(id, b).kept);

    // Another connection, as another server would read it.
    const auto elsewhere = open();
    const std::optional<KeptLive> kept = elsewhere->live_session(id, 0);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->id, id);
    EXPECT_EQ(kept->opened.opened_ms, 1000);
    EXPECT_EQ(kept->opened.secret_sha256, "a1b2");
    EXPECT_EQ(kept->opened.client, "2001:db8::7");
    EXPECT_FALSE(kept->run_id);
    EXPECT_EQ(kept->last_seq, 3);
    EXPECT_EQ(kept->games, (std::vector<LiveDeal>{deal(1, 4'000'000'000u, 1100, "Ana"),
                                                  deal(2, 17, 1900, "Zé")}));
    EXPECT_EQ(kept->batches, sent);
    // Only those after a seq, for a server catching up.
    const std::optional<KeptLive> after = elsewhere->live_session(id, 2);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->batches, std::vector<LiveBatch>{sent[2]});
    EXPECT_EQ(after->games.size(), 2u);
    EXPECT_FALSE(elsewhere->live_session(other + 100, 0));

    EXPECT_EQ(elsewhere->open_live_sessions(), (std::vector<std::int64_t>{id, other}));
    ASSERT_TRUE(store->end_live(other, make_run("other", 2000, {make_game("Bo", 1, 10)}), 0, 0));
    EXPECT_EQ(elsewhere->open_live_sessions(), std::vector<std::int64_t>{id});
    const std::optional<KeptLive> ended = elsewhere->live_session(other, 0);
    ASSERT_TRUE(ended);
    EXPECT_TRUE(ended->run_id);
    // Its batches went into its run; their count stays, for a resent last.
    ASSERT_TRUE(store->end_live(id, make_run("id", 2100, {make_game("Ana", 1, 10)}), 3, 2));
    const std::optional<KeptLive> ended_here = elsewhere->live_session(id, 0);
    ASSERT_TRUE(ended_here);
    EXPECT_TRUE(ended_here->batches.empty());
    EXPECT_EQ(ended_here->last_seq, 3);
}

// Two servers feed one session: each change names the count it follows,
// so the one whose copy is behind is told, and changes nothing.
TEST_P(StoreContract, ALiveSessionMovesOnOnlyFromWhereItStands) {
    const auto one = open();
    const auto two = open();
    const std::int64_t id = one->open_live(LiveOpened{1000, "aa", "192.0.2.1"});
    ASSERT_TRUE(one->deal_live(id, deal(1, 5, 1100)));
    struct Case {
        Store* by;
        std::int64_t seq;
        bool kept;
        std::int64_t batches;
    };
    const Case cases[] = {
        {one.get(), 1, true, 1},  {two.get(), 1, false, 1}, // another server's resend
        {two.get(), 2, true, 2},  {one.get(), 2, false, 2}, // one behind two
        {one.get(), 4, false, 2},                           // a gap
        {one.get(), 3, true, 3},
    };
    for (const Case& c : cases) {
        const LiveKept got = c.by->add_live_batch(id, batch(c.seq, 1200 + c.seq, "x\n"));
        EXPECT_EQ(got.kept, c.kept) << "seq " << c.seq;
        EXPECT_EQ(got.batches, c.batches) << "seq " << c.seq;
        EXPECT_FALSE(got.ended) << "seq " << c.seq;
    }
    EXPECT_EQ(one->live_lines(id), "x\nx\nx\n");

    // A game dealt by one, unseen by two: two's deal of the same number and
    // its end on the counts it knows are refused.
    ASSERT_TRUE(one->deal_live(id, deal(2, 6, 1300)));
    EXPECT_FALSE(two->deal_live(id, deal(2, 7, 1301)));
    EXPECT_FALSE(two->end_live(id, make_run("behind", 2000, {make_game("A", 1, 1)}), 3, 1));
    EXPECT_FALSE(two->end_live(id, make_run("behind", 2000, {make_game("A", 1, 1)}), 2, 2));
    EXPECT_FALSE(one->live_run(id));
    EXPECT_EQ(0, one->count(BoardQuery{}));
    EXPECT_TRUE(two->end_live(id, make_run("caught up", 2000, {make_game("A", 1, 1)}), 3, 2));
    EXPECT_TRUE(one->live_run(id));
    EXPECT_FALSE(one->add_live_batch(id, batch(4, 2100, "x\n")).kept);
    EXPECT_EQ(1, one->count(BoardQuery{}));
}

} // namespace board::testing
