#include "bench/board_timing.hpp"

#include "server/answers.hpp"
#include "server/board_cursor.hpp"
#ifdef ORBITRIX_HAVE_POSTGRES
#include "server/sql/postgres_connection.hpp"
#endif
#include "server/sql/sqlite_connection.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <set>

namespace {

using board::sql::query;

// The middle of five timings, in ms: one cold read does not set the figure.
double median_ms(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

// The places as version 1 of the schema counted them, in its own text for
// the board of all levels (level 0) or of one: every game ahead.
std::vector<std::int64_t> counted_places(board::sql::Connection& conn, std::int64_t run_id,
                                         std::int64_t level) {
    const std::string mine = level ? "m.start_level = ?2" : "TRUE";
    const std::string ahead = level ? "g.start_level = ?2" : "TRUE";
    const auto s = conn.prepare(
        "SELECT CASE WHEN " + mine + " THEN 1 + (SELECT COUNT(*) FROM games g WHERE " + ahead +
        " AND g.points >= m.points AND (g.points > m.points OR "
        "(g.received_ms, g.run_id, g.idx) < (m.received_ms, m.run_id, m.idx))) ELSE 0 END"
        " FROM games m WHERE m.run_id = ?1 ORDER BY m.idx");
    s->bind(1, run_id);
    if (level)
        s->bind(2, level);
    std::vector<std::int64_t> out;
    while (s->step())
        out.push_back(s->integer(0));
    return out;
}

// A run of 60 games, received after every seeded one, its points drawn.
board::NewRun sixty_games() {
    board::NewRun r;
    r.sha256 = "bench-sixty";
    r.bytes = "a run of sixty games\n";
    r.received_ms = 1'900'000'000'000;
    r.made_by = "1.0.0 linux";
    unsigned state = 60;
    for (int g = 0; g < 60; ++g) {
        state = state * 1103515245u + 12345u;
        const int level = static_cast<int>((state >> 8) % 4) + 1;
        r.games.push_back(board::Game{"Sessenta",
                                      level,
                                      level,
                                      static_cast<std::int64_t>((state >> 12) % 3000) * 10,
                                      0,
                                      "perdeu",
                                      1000,
                                      board::Kind::open,
                                      {}});
    }
    return r;
}

} // namespace

int time_board(const std::string& database, std::int64_t deep_offset) {
    const auto store = board::open_store(database);
    // Version 1's own query texts, on a connection of the same database.
#ifdef ORBITRIX_HAVE_POSTGRES
    const auto conn = database.starts_with("postgresql://") ? board::sql::open_postgres(database)
                                                            : board::sql::open_sqlite(database);
#else
    const auto conn = board::sql::open_sqlite(database);
#endif
    const std::int64_t id = store->insert_run(sixty_games()).id;
    const auto run = store->run(id);
    std::set<int> levels;
    for (const board::Game& g : run->games)
        levels.insert(g.start_level);

    const double count_all = median_ms([&] { counted_places(*conn, id, 0); });
    const double sum_all = median_ms([&] { store->places(id, board::BoardQuery{}); });
    // /api/runs/ID as version 1 asked it: the run, then its places on the
    // board of all levels and on each level it played.
    const double run_before = median_ms([&] {
        store->run(id);
        counted_places(*conn, id, 0);
        for (const int level : levels)
            counted_places(*conn, id, level);
    });
    const double run_after = median_ms([&] { board::run_answer(*store, id, true); });
    board::BoardQuery first;
    const double first_page = median_ms([&] { board::board_text(*store, first); });
    board::BoardQuery deep;
    deep.offset = deep_offset;
    const double deep_page = median_ms([&] { board::board_text(*store, deep); });
    // The same page by keyset: after the row just before it.
    board::BoardQuery before = deep;
    before.offset = deep_offset - 1;
    before.limit = 1;
    const board::BoardRequest keyset{first, board::cursor_of(store->board(before).at(0))};
    const double keyset_page = median_ms([&] { board::requested_board_text(*store, keyset); });

    std::printf("games on the board: %lld\n", static_cast<long long>(store->count({})));
    std::printf("places of the 60-game run, board of all levels, COUNT (v1): %.2f ms\n", count_all);
    std::printf("places of the 60-game run, board of all levels, sums: %.2f ms\n", sum_all);
    std::printf("/api/runs/ID, v1's queries (%zu levels): %.2f ms\n", levels.size(), run_before);
    std::printf("/api/runs/ID, run_answer: %.2f ms\n", run_after);
    std::printf("/api/board first page: %.2f ms\n", first_page);
    std::printf("/api/board offset %lld: %.2f ms\n", static_cast<long long>(deep_offset),
                deep_page);
    std::printf("/api/board the same page after a cursor: %.2f ms\n", keyset_page);
    return 0;
}
