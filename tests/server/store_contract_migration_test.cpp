// A board written by an earlier schema version, opened by this one: the
// migrations fill the point counts and their buckets from what is already
// there, so every place is the one version 1 counted, and stays so as runs
// come in.
#include "server/sql_store.hpp"
#include "store_contract.hpp"

#include <string_view>

namespace board::testing {
namespace {

using sql::query;

// Every board the store is asked for: each level and all, each kind and both.
std::vector<BoardQuery> every_board() {
    std::vector<BoardQuery> boards;
    for (const std::optional<int> level :
         {std::optional<int>{}, std::optional<int>{1}, std::optional<int>{2}, std::optional<int>{3},
          std::optional<int>{4}})
        for (const std::optional<Kind> kind :
             {std::optional<Kind>{}, std::optional<Kind>{Kind::open},
              std::optional<Kind>{Kind::ranked}})
            boards.push_back({level, kind, 100, 0});
    return boards;
}

// A run stored as version 1's store stored it: its rows and no others.
std::int64_t insert_as_version_1(sql::Connection& conn, const NewRun& run) {
    sql::Transaction tx(conn);
    // Its one row read, the statement is let go before the games go in.
    const std::int64_t id = [&] {
        const auto added = query(conn,
                                 "INSERT INTO runs (sha256, bytes, received_ms, made_by) "
                                 "VALUES (?1, ?2, ?3, ?4) RETURNING id",
                                 {std::string_view(run.sha256), sql::Blob{run.bytes},
                                  run.received_ms, std::string_view(run.made_by)});
        added->step();
        return added->integer(0);
    }();
    for (std::size_t i = 0; i < run.games.size(); ++i) {
        const Game& g = run.games[i];
        query(conn,
              "INSERT INTO games (run_id, idx, name, start_level, end_level, points, lives, "
              "ending, frames, kind, ticket, received_ms) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, NULL, ?11)",
              {id, static_cast<std::int64_t>(i), std::string_view(g.name),
               std::int64_t{g.start_level}, std::int64_t{g.end_level}, g.points,
               std::int64_t{g.lives}, std::string_view(g.ending), g.frames,
               g.kind == Kind::ranked ? std::string_view("ranked") : std::string_view("open"),
               run.received_ms})
            ->step();
    }
    tx.commit();
    return id;
}

// The rows version 2's store added besides version 1's: the run's games in
// each board's histogram of points.
void count_as_version_2(sql::Connection& conn, const NewRun& run) {
    sql::Transaction tx(conn);
    for (const Game& g : run.games)
        for (const std::int64_t level : {std::int64_t{0}, std::int64_t{g.start_level}})
            query(conn,
                  "INSERT INTO point_counts (level, kind, points, games) VALUES (?1, ?2, ?3, 1) "
                  "ON CONFLICT (level, kind, points) DO UPDATE "
                  "SET games = point_counts.games + 1",
                  {level,
                   g.kind == Kind::ranked ? std::string_view("ranked") : std::string_view("open"),
                   g.points})
                ->step();
    tx.commit();
}

// The places as version 1 counted them: every game of the board ahead.
std::vector<std::int64_t> counted_places(sql::Connection& conn, std::int64_t run_id,
                                         const BoardQuery& q) {
    const std::string_view kind = !q.kind ? "all" : q.kind == Kind::ranked ? "ranked" : "open";
    const auto s = query(
        conn,
        "SELECT CASE WHEN (?2 = 0 OR m.start_level = ?2) AND (?3 = 'all' OR m.kind = ?3) THEN "
        "1 + (SELECT COUNT(*) FROM games g WHERE (?2 = 0 OR g.start_level = ?2) AND "
        "(?3 = 'all' OR g.kind = ?3) AND (g.points > m.points OR (g.points = m.points AND "
        "(g.received_ms, g.run_id, g.idx) < (m.received_ms, m.run_id, m.idx)))) ELSE 0 END "
        "FROM games m WHERE m.run_id = ?1 ORDER BY m.idx",
        {run_id, std::int64_t{q.level.value_or(0)}, kind});
    std::vector<std::int64_t> out;
    while (s->step())
        out.push_back(s->integer(0));
    return out;
}

// Runs of one to five games over every level and both kinds, many tied on
// points, some received at the same moment.
NewRun varied_run(int run) {
    std::vector<Game> games;
    for (int game = 0; game < 1 + run % 5; ++game)
        games.push_back(make_game("v" + std::to_string(run) + "." + std::to_string(game),
                                  1 + (run + game) % 4, 100 * ((run * 7 + game * 3) % 6),
                                  (run + game) % 3 == 0 ? Kind::ranked : Kind::open));
    return make_run("v" + std::to_string(run), 40 * (run % 4), std::move(games));
}

// Runs whose points sit on and beside the edges of the places' buckets of
// points, from none to past the 30,000 that end a game, many tied.
NewRun edge_run(int run) {
    constexpr std::int64_t EDGES[] = {0,   1,    127,  128,   129,   255,
                                      256, 1023, 1024, 29999, 30000, 30250};
    std::vector<Game> games;
    for (int game = 0; game < 1 + run % 4; ++game)
        games.push_back(make_game("e" + std::to_string(run) + "." + std::to_string(game),
                                  1 + (run + game) % 4,
                                  EDGES[(run * 5 + game * 7) % std::size(EDGES)],
                                  (run + game) % 3 == 0 ? Kind::ranked : Kind::open));
    return make_run("e" + std::to_string(run), 40 * (run % 3), std::move(games));
}

// The same run, its ranked games dealt tickets of `store`'s to claim.
NewRun with_tickets(Store& store, NewRun run) {
    for (Game& g : run.games)
        if (g.kind == Kind::ranked)
            g.ticket = store.issue_ticket(7, 0).id;
    return run;
}

void expect_places_as_counted(Store& store, sql::Connection& conn,
                              const std::vector<std::int64_t>& ids) {
    for (const BoardQuery& board : every_board())
        for (const std::int64_t id : ids)
            EXPECT_EQ(counted_places(conn, id, board), store.places(id, board))
                << "run " << id << ", level " << board.level.value_or(0) << ", kind "
                << (board.kind ? static_cast<int>(*board.kind) : -1);
}

TEST_P(StoreContract, AVersionOneBoardKeepsItsPlacesOnceMigrated) {
    const auto connect = GetParam().fresh_connections();
    const std::span<const char* const> migrations = GetParam().migrations;
    ASSERT_GE(migrations.size(), 2u);
    // The board as version 1 left it: its schema by the store's own
    // migration, its runs as that version's store wrote them.
    open_sql_store(connect(), migrations.first(1));
    const std::unique_ptr<sql::Connection> conn = connect();
    std::vector<std::int64_t> ids;
    for (int run = 0; run < 24; ++run)
        ids.push_back(insert_as_version_1(*conn, varied_run(run)));

    const std::unique_ptr<Store> migrated = open_sql_store(connect(), migrations);
    expect_places_as_counted(*migrated, *conn, ids);

    // Runs stored after the migration keep the counts with them.
    for (int run = 24; run < 36; ++run) {
        const Inserted inserted = migrated->insert_run(with_tickets(*migrated, varied_run(run)));
        ASSERT_TRUE(inserted.created);
        ids.push_back(inserted.id);
    }
    expect_places_as_counted(*migrated, *conn, ids);
    // Opened again, nothing is migrated twice.
    expect_places_as_counted(*open_sql_store(connect(), migrations), *conn, ids);
}

TEST_P(StoreContract, ABoardOfEachEarlierVersionKeepsItsPlacesOnceMigrated) {
    const std::span<const char* const> migrations = GetParam().migrations;
    ASSERT_GE(migrations.size(), 3u);
    // The database of each earlier version holds its runs as that
    // version's store wrote them; each is a database of its own.
    for (const std::size_t version : {1u, 2u}) {
        SCOPED_TRACE("from version " + std::to_string(version));
        const auto connect_one = GetParam().fresh_connections();
        open_sql_store(connect_one(), migrations.first(version));
        const std::unique_ptr<sql::Connection> conn = connect_one();
        std::vector<std::int64_t> ids;
        for (int run = 0; run < 30; ++run) {
            const NewRun made = run % 2 ? edge_run(run) : varied_run(run);
            ids.push_back(insert_as_version_1(*conn, made));
            if (version >= 2)
                count_as_version_2(*conn, made);
        }
        const std::unique_ptr<Store> migrated = open_sql_store(connect_one(), migrations);
        expect_places_as_counted(*migrated, *conn, ids);
        for (int run = 30; run < 40; ++run)
            ids.push_back(migrated->insert_run(with_tickets(*migrated, edge_run(run))).id);
        expect_places_as_counted(*migrated, *conn, ids);
    }
}

TEST_P(StoreContract, PlacesAtTheEdgesOfTheBucketsOfPointsAreCounted) {
    const auto connect = GetParam().fresh_connections();
    const std::unique_ptr<Store> edges = open_sql_store(connect(), GetParam().migrations);
    const std::unique_ptr<sql::Connection> conn = connect();
    std::vector<std::int64_t> ids;
    for (int run = 0; run < 40; ++run)
        ids.push_back(edges->insert_run(with_tickets(*edges, edge_run(run))).id);
    expect_places_as_counted(*edges, *conn, ids);
    for (const std::int64_t id : ids) {
        const std::optional<StoredRun> run = edges->run(id);
        ASSERT_TRUE(run);
        const std::vector<GamePlaces> both = edges->run_places(id);
        const std::vector<std::int64_t> overall = counted_places(*conn, id, BoardQuery{});
        ASSERT_EQ(run->games.size(), both.size());
        for (std::size_t i = 0; i < both.size(); ++i) {
            BoardQuery its_level;
            its_level.level = run->games[i].start_level;
            EXPECT_EQ(overall[i], both[i].overall) << "run " << id << ", game " << i;
            EXPECT_EQ(counted_places(*conn, id, its_level)[i], both[i].in_level)
                << "run " << id << ", game " << i;
        }
    }
    // Read by keyset, each board's rows are numbered on from the cursor's.
    for (BoardQuery board : every_board()) {
        board.limit = 7;
        std::vector<Placed> page = edges->board(board);
        for (std::int64_t place = 1; !page.empty(); page = edges->board_after(board, [&] {
                 const Placed& last = page.back();
                 return BoardCursor{last.game.points, last.received_ms, last.run_id,
                                    last.game_index};
             }()))
            for (const Placed& p : page)
                EXPECT_EQ(place++, p.place) << "level " << board.level.value_or(0);
    }
}

TEST_P(StoreContract, ARunsPlacesAreItsPlacesOnItsTwoBoards) {
    std::vector<std::int64_t> ids;
    for (int run = 0; run < 20; ++run)
        ids.push_back(store->insert_run(with_tickets(*store, varied_run(run))).id);
    for (const std::int64_t id : ids) {
        const std::optional<StoredRun> run = store->run(id);
        ASSERT_TRUE(run);
        const std::vector<GamePlaces> both = store->run_places(id);
        ASSERT_EQ(run->games.size(), both.size());
        const std::vector<std::int64_t> overall = store->places(id, BoardQuery{});
        for (std::size_t i = 0; i < both.size(); ++i) {
            BoardQuery its_level;
            its_level.level = run->games[i].start_level;
            EXPECT_EQ(overall[i], both[i].overall) << "run " << id << ", game " << i;
            EXPECT_EQ(store->places(id, its_level)[i], both[i].in_level)
                << "run " << id << ", game " << i;
        }
    }
    EXPECT_TRUE(store->run_places(ids.back() + 1).empty());
}

} // namespace
} // namespace board::testing
