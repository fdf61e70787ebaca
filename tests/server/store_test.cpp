// The SQLite store on a real file: the board's order and filters, places,
// totals, runs unique by their bytes, tickets, and the schema's version.
#include "server/schema.hpp"
#include "server/sqlite_store.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

using board::BoardQuery;
using board::Game;
using board::Kind;
using board::NewRun;

Game game(std::string name, int level, std::int64_t points, Kind kind = Kind::open) {
    return Game{std::move(name), level, level, points, 0, "perdeu", 100, kind, {}};
}

NewRun run(std::string sha, std::int64_t received, std::vector<Game> games) {
    std::string bytes = "bytes of " + sha;
    return NewRun{std::move(sha), std::move(bytes), received, "1.0.0 linux", std::move(games)};
}

std::vector<std::string> names(const std::vector<board::Placed>& placed) {
    std::vector<std::string> out;
    for (const auto& p : placed)
        out.push_back(std::to_string(p.place) + ":" + p.game.name);
    return out;
}

class Store : public ::testing::Test {
  protected:
    teste::TempDir dir;
    std::string path = dir.file("board.sqlite3");
    std::unique_ptr<board::Store> store = board::open_sqlite_store(path);
};

TEST_F(Store, RanksByPointsThenEarlierReceiptThenRunAndGameOrder) {
    store->insert_run(run("b", 2000, {game("B1", 1, 50), game("B2", 2, 70)}));
    store->insert_run(run("a", 1000, {game("A1", 1, 50), game("A2", 1, 10)}));
    store->insert_run(run("c", 2000, {game("C1", 2, 50), game("C2", 1, 50)}));

    EXPECT_EQ(names(store->board(BoardQuery{})),
              (std::vector<std::string>{"1:B2", "2:A1", "3:B1", "4:C1", "5:C2", "6:A2"}));
    BoardQuery level1;
    level1.level = 1;
    EXPECT_EQ(names(store->board(level1)),
              (std::vector<std::string>{"1:A1", "2:B1", "3:C2", "4:A2"}));
    BoardQuery page;
    page.limit = 2;
    page.offset = 3;
    EXPECT_EQ(names(store->board(page)), (std::vector<std::string>{"4:C1", "5:C2"}));
    EXPECT_EQ(store->count(BoardQuery{}), 6);
    EXPECT_EQ(store->count(level1), 4);

    // Places agree with the board's own order, on each board.
    const auto c = store->insert_run(run("c", 9999, {})); // the same bytes: nothing added
    EXPECT_FALSE(c.created);
    EXPECT_EQ(store->places(c.id, BoardQuery{}), (std::vector<std::int64_t>{4, 5}));
    EXPECT_EQ(store->places(c.id, level1), (std::vector<std::int64_t>{0, 3}));
    EXPECT_EQ(store->count(BoardQuery{}), 6);
}

TEST_F(Store, KindsAreSeparateBoardsAndTicketsAreUsedOnce) {
    const auto ticket = store->issue_ticket(42, 500);
    EXPECT_EQ(ticket.id.size(), 32u);
    EXPECT_NE(store->issue_ticket(42, 500).id, ticket.id);

    Game ranked = game("R", 3, 10, Kind::ranked);
    ranked.ticket = ticket.id;
    const auto first = store->insert_run(run("r1", 1000, {ranked, game("O", 3, 20)}));
    ASSERT_TRUE(first.created);
    EXPECT_EQ(store->ticket(ticket.id)->run_id, first.id);
    EXPECT_EQ(store->ticket(ticket.id)->seed, 42u);

    // The ticket again, in other bytes: nothing of that run is kept.
    const auto again = store->insert_run(run("r2", 1001, {game("X", 3, 99), ranked}));
    EXPECT_TRUE(again.ticket_taken);

    BoardQuery ranked_only;
    ranked_only.kind = Kind::ranked;
    EXPECT_EQ(names(store->board(ranked_only)), (std::vector<std::string>{"1:R"}));
    EXPECT_EQ(store->count(ranked_only), 1);
    EXPECT_EQ(store->count(BoardQuery{}), 2);
    EXPECT_FALSE(store->ticket("no such").has_value());
}

TEST_F(Store, KeepsTheRunItsBytesAndItsCast) {
    Game g = game("Zoé \xe2\x98\xbc", 4, 30000);
    g.ending = "venceu";
    g.frames = 1234;
    g.lives = 2;
    const auto id = store->insert_run(run("z", 1765000000123, {g})).id;
    const auto kept = store->run(id);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->sha256, "z");
    EXPECT_EQ(kept->received_ms, 1765000000123);
    EXPECT_EQ(kept->made_by, "1.0.0 linux");
    ASSERT_EQ(kept->games.size(), 1u);
    EXPECT_EQ(kept->games[0].name, g.name);
    EXPECT_EQ(kept->games[0].ending, "venceu");
    EXPECT_EQ(kept->games[0].frames, 1234);
    EXPECT_EQ(kept->games[0].lives, 2);
    EXPECT_EQ(store->recording(id), "bytes of z");
    EXPECT_FALSE(store->run(id + 1));
    EXPECT_FALSE(store->recording(id + 1));
}

TEST_F(Store, ReopensWithItsDataAndRefusesALaterSchema) {
    store->insert_run(run("a", 1, {game("A", 1, 5)}));
    store.reset();
    store = board::open_sqlite_store(path);
    EXPECT_EQ(store->count(BoardQuery{}), 1);
    store.reset();

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT value FROM meta WHERE key = 'schema_version'", -1, &s, nullptr);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)),
              std::to_string(std::size(board::SQLITE_MIGRATIONS)));
    sqlite3_finalize(s);
    sqlite3_stmt* mode = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "wal");
    sqlite3_finalize(mode);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE meta SET value = '99' WHERE key = 'schema_version'", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    try {
        board::open_sqlite_store(path);
        FAIL() << "a later schema was opened";
    } catch (const board::StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("schema version 99"), std::string::npos) << e.what();
    }
}

TEST(OpenStore, NamesWhatItCannotOpen) {
    EXPECT_THROW(board::open_sqlite_store("/nonexistent/dir/board.sqlite3"), board::StoreError);
#ifndef ORBITRIX_HAVE_POSTGRES
    try {
        board::open_store("postgresql://localhost/board");
        FAIL();
    } catch (const board::StoreError& e) {
        EXPECT_STREQ(e.what(), "this server was built without PostgreSQL (libpq-dev)");
    }
#endif
}

} // namespace
