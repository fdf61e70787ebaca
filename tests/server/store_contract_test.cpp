#include "store_contract.hpp"

#include <algorithm>
#include <map>
#include <tuple>

namespace board::testing {

NewRun make_run(const std::string& tag, std::int64_t received_ms, std::vector<Game> games) {
    NewRun run;
    run.bytes = "orbitrix recording 1\n" + tag + '\n';
    // Not a real digest: the store only needs one distinct per recording.
    run.sha256 = std::string(64 - std::min<std::size_t>(tag.size(), 64), '0') + tag.substr(0, 64);
    run.received_ms = received_ms;
    run.made_by = "orbitrix 1.0.0 linux";
    run.games = std::move(games);
    return run;
}

Game make_game(std::string name, int start_level, std::int64_t points, Kind kind,
               std::string ticket) {
    Game game;
    game.name = std::move(name);
    game.start_level = start_level;
    game.end_level = start_level + static_cast<int>(points / 5000);
    game.points = points;
    game.lives = static_cast<int>(points % 5);
    game.ending = points % 2 == 0 ? "perdeu" : "saiu";
    game.frames = 1000 + points;
    game.kind = kind;
    game.ticket = std::move(ticket);
    return game;
}

namespace {

void expect_same_game(const Game& expected, const Game& got) {
    EXPECT_EQ(expected.name, got.name);
    EXPECT_EQ(expected.start_level, got.start_level);
    EXPECT_EQ(expected.end_level, got.end_level);
    EXPECT_EQ(expected.points, got.points);
    EXPECT_EQ(expected.lives, got.lives);
    EXPECT_EQ(expected.ending, got.ending);
    EXPECT_EQ(expected.frames, got.frames);
    EXPECT_EQ(expected.kind, got.kind);
    EXPECT_EQ(expected.ticket, got.ticket);
}

BoardQuery on(std::optional<int> level, std::optional<Kind> kind = std::nullopt, int limit = 100,
              std::int64_t offset = 0) {
    return {level, kind, limit, offset};
}

} // namespace

TEST_P(StoreContract, KeepsARunAndItsRecordingAsSent) {
    NewRun sent = make_run("kept", 1'700'000'000'123,
                           {make_game("Ana Júlia ✓", 2, 5135), make_game("Bo", 1, 0)});
    // Recordings are bytes: NUL, CR and bytes that are not UTF-8 come back.
    sent.bytes += std::string("\0\r\n\xff\xfe end", 9);
    const Inserted inserted = store->insert_run(sent);
    ASSERT_TRUE(inserted.created);
    EXPECT_FALSE(inserted.ticket_taken);

    const std::optional<StoredRun> got = store->run(inserted.id);
    ASSERT_TRUE(got);
    EXPECT_EQ(inserted.id, got->id);
    EXPECT_EQ(sent.sha256, got->sha256);
    EXPECT_EQ(sent.received_ms, got->received_ms);
    EXPECT_EQ(sent.made_by, got->made_by);
    ASSERT_EQ(2u, got->games.size());
    expect_same_game(sent.games[0], got->games[0]);
    expect_same_game(sent.games[1], got->games[1]);
    EXPECT_EQ(sent.bytes, store->recording(inserted.id));

    EXPECT_FALSE(store->run(inserted.id + 1));
    EXPECT_FALSE(store->recording(inserted.id + 1));
    // Another connection, opened after, reads what was committed.
    EXPECT_EQ(sent.bytes, open()->recording(inserted.id));
}

TEST_P(StoreContract, TheSameBytesAreStoredOnce) {
    const NewRun sent = make_run("once", 10, {make_game("Ana", 1, 300)});
    const Inserted first = store->insert_run(sent);
    const Inserted again = store->insert_run(sent);
    EXPECT_TRUE(first.created);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(first.id, again.id);
    EXPECT_EQ(1, store->count(on(std::nullopt)));

    const Inserted other = store->insert_run(make_run("other", 11, {make_game("Ana", 1, 300)}));
    EXPECT_TRUE(other.created);
    EXPECT_NE(first.id, other.id);
    EXPECT_EQ(2, store->count(on(std::nullopt)));
}

TEST_P(StoreContract, BoardsOrderByPointsThenReceiptAndFilterByLevelAndKind) {
    // Received out of order, with ties on points within and across runs.
    const Inserted late = store->insert_run(
        make_run("late", 300, {make_game("L0", 1, 500), make_game("L1", 2, 900)}));
    const Inserted early = store->insert_run(
        make_run("early", 100, {make_game("E0", 1, 500), make_game("E1", 1, 500)}));
    const Inserted mid = store->insert_run(
        make_run("mid", 200, {make_game("M0", 2, 900, Kind::open), make_game("M1", 1, 20)}));

    const auto names = [&](const BoardQuery& query) {
        std::vector<std::string> listed;
        for (const Placed& placed : store->board(query)) {
            listed.push_back(placed.game.name);
        }
        return listed;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ((Names{"M0", "L1", "E0", "E1", "L0", "M1"}), names(on(std::nullopt)));
    EXPECT_EQ((Names{"E0", "E1", "L0", "M1"}), names(on(1)));
    EXPECT_EQ((Names{"M0", "L1"}), names(on(2)));
    EXPECT_TRUE(names(on(3)).empty());
    EXPECT_EQ(6, store->count(on(std::nullopt, Kind::open)));
    EXPECT_EQ(0, store->count(on(std::nullopt, Kind::ranked)));
    EXPECT_TRUE(names(on(1, Kind::ranked)).empty());
    EXPECT_EQ(4, store->count(on(1)));

    // Each listed game says where it came from and when.
    const std::vector<Placed> all = store->board(on(std::nullopt));
    ASSERT_EQ(6u, all.size());
    EXPECT_EQ(std::make_tuple(mid.id, 0, std::int64_t{200}),
              std::make_tuple(all[0].run_id, all[0].game_index, all[0].received_ms));
    EXPECT_EQ(std::make_tuple(early.id, 1, std::int64_t{100}),
              std::make_tuple(all[3].run_id, all[3].game_index, all[3].received_ms));
    EXPECT_EQ(std::make_tuple(late.id, 0), std::make_tuple(all[4].run_id, all[4].game_index));
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(static_cast<std::int64_t>(i + 1), all[i].place);
    }
}

TEST_P(StoreContract, PagesAndPlacesAgreeWithTheWholeBoard) {
    // Forty games over twelve runs, many tied on points and some on receipt.
    std::vector<std::int64_t> ids;
    for (int run = 0; run < 12; ++run) {
        std::vector<Game> games;
        for (int game = 0; game < 1 + run % 5; ++game) {
            games.push_back(make_game("g" + std::to_string(run) + "." + std::to_string(game),
                                      1 + (run + game) % 4, 100 * ((run * 7 + game * 3) % 5)));
        }
        ids.push_back(
            store->insert_run(make_run("r" + std::to_string(run), 50 * (run % 3), std::move(games)))
                .id);
    }
    for (const std::optional<int> level :
         {std::optional<int>{}, std::optional<int>{1}, std::optional<int>{4}}) {
        const std::vector<Placed> whole = store->board(on(level));
        ASSERT_EQ(store->count(on(level)), static_cast<std::int64_t>(whole.size()));

        // Pages of 7 put together are the whole board, with the same places.
        std::vector<Placed> paged;
        for (std::int64_t offset = 0;; offset += 7) {
            const std::vector<Placed> page = store->board(on(level, std::nullopt, 7, offset));
            paged.insert(paged.end(), page.begin(), page.end());
            if (page.size() < 7) {
                break;
            }
        }
        ASSERT_EQ(whole.size(), paged.size());
        std::map<std::pair<std::int64_t, int>, std::int64_t> place_of;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(whole[i].place, paged[i].place);
            EXPECT_EQ(std::make_pair(whole[i].run_id, whole[i].game_index),
                      std::make_pair(paged[i].run_id, paged[i].game_index));
            place_of[{whole[i].run_id, whole[i].game_index}] = whole[i].place;
        }
        // A run's places name where its games stand on that board, counted
        // with the limit and offset left out.
        for (const std::int64_t id : ids) {
            const std::vector<std::int64_t> places =
                store->places(id, on(level, std::nullopt, 1, 5));
            const StoredRun run = *store->run(id);
            ASSERT_EQ(run.games.size(), places.size());
            for (std::size_t game = 0; game < places.size(); ++game) {
                const auto listed = place_of.find({id, static_cast<int>(game)});
                // 0: the board does not hold that game.
                EXPECT_EQ(listed == place_of.end() ? 0 : listed->second, places[game])
                    << "run " << id << " game " << game;
            }
        }
    }
    EXPECT_TRUE(store->board(on(std::nullopt, std::nullopt, 100, 1000)).empty());
}

TEST_P(StoreContract, ATicketIsUsedByOneRunOnly) {
    const Ticket first = store->issue_ticket(4'000'000'000u, 77);
    const Ticket second = store->issue_ticket(5, 78);
    EXPECT_NE(first.id, second.id);
    EXPECT_FALSE(first.id.empty());
    const std::optional<Ticket> fresh = store->ticket(first.id);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(4'000'000'000u, fresh->seed);
    EXPECT_EQ(77, fresh->issued_ms);
    EXPECT_FALSE(fresh->run_id);
    EXPECT_FALSE(store->ticket("no such ticket"));

    const Inserted ranked = store->insert_run(make_run(
        "ranked", 10, {make_game("Ana", 1, 700, Kind::ranked, first.id), make_game("Ana", 1, 5)}));
    ASSERT_TRUE(ranked.created);
    EXPECT_EQ(ranked.id, store->ticket(first.id)->run_id);
    EXPECT_EQ(1, store->count(on(std::nullopt, Kind::ranked)));

    // The same ticket again, an unknown one, or one ticket twice in a run:
    // nothing of the run is kept.
    const std::vector<NewRun> refused = {
        make_run("again", 20, {make_game("Bo", 1, 900, Kind::ranked, first.id)}),
        make_run("unknown", 21, {make_game("Bo", 1, 900, Kind::ranked, "f00d")}),
        make_run("twice", 22,
                 {make_game("Bo", 1, 1, Kind::ranked, second.id),
                  make_game("Bo", 1, 2, Kind::ranked, second.id)}),
    };
    for (const NewRun& run : refused) {
        const Inserted taken = store->insert_run(run);
        EXPECT_TRUE(taken.ticket_taken) << run.bytes;
        EXPECT_FALSE(taken.created) << run.bytes;
    }
    EXPECT_EQ(2, store->count(on(std::nullopt)));
    EXPECT_FALSE(store->ticket(second.id)->run_id);
    // Sent again as open, the run is kept.
    EXPECT_TRUE(
        store->insert_run(make_run("again", 20, {make_game("Bo", 1, 900, Kind::open)})).created);
}

TEST_P(StoreContract, OpeningAgainKeepsWhatWasStored) {
    const Inserted run = store->insert_run(make_run("kept", 1, {make_game("Ana", 4, 30000)}));
    store.reset();
    const std::unique_ptr<Store> reopened = open();
    EXPECT_EQ(1, reopened->count(on(4)));
    EXPECT_EQ(run.id, reopened->board(on(4)).at(0).run_id);
    EXPECT_FALSE(reopened->insert_run(make_run("kept", 2, {make_game("Ana", 4, 30000)})).created);
}

} // namespace board::testing
