#include "postgres_store.hpp"

#include "postgres_schema.hpp"
#include "pq.hpp"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace board {

namespace {

const char* kind_name(Kind kind) {
    return kind == Kind::ranked ? "ranked" : "open";
}

Kind kind_of(const std::string& name) {
    return name == "ranked" ? Kind::ranked : Kind::open;
}

// A board's filter as a WHERE clause over the games aliased `alias`, its
// parameters numbered from `first`. The clause names only columns and
// placeholders; the values travel as parameters.
struct Filter {
    std::string where = "TRUE";
    std::vector<pq::Param> params;
};

Filter filter_of(const BoardQuery& query, const std::string& alias, int first) {
    Filter filter;
    int next = first;
    if (query.level) {
        filter.where += " AND " + alias + ".start_level = $" + std::to_string(next++);
        filter.params.push_back(pq::integer(*query.level));
    }
    if (query.kind) {
        filter.where += " AND " + alias + ".kind = $" + std::to_string(next++);
        filter.params.push_back(pq::text(kind_name(*query.kind)));
    }
    return filter;
}

constexpr const char* game_columns =
    "name, start_level, end_level, points, lives, ending, frames, kind, ticket";

// A row's game, its columns in game_columns' order from `first`.
Game game_at(const PGresult* rows, int row, int first) {
    Game game;
    game.name = pq::text_at(rows, row, first);
    game.start_level = static_cast<int>(pq::int_at(rows, row, first + 1));
    game.end_level = static_cast<int>(pq::int_at(rows, row, first + 2));
    game.points = pq::int_at(rows, row, first + 3);
    game.lives = static_cast<int>(pq::int_at(rows, row, first + 4));
    game.ending = pq::text_at(rows, row, first + 5);
    game.frames = pq::int_at(rows, row, first + 6);
    game.kind = kind_of(pq::text_at(rows, row, first + 7));
    game.ticket = pq::text_at(rows, row, first + 8);
    return game;
}

class PostgresStore final : public Store {
  public:
    explicit PostgresStore(const std::string& url) : conn_(url) { migrate_postgres(conn_); }

    Inserted insert_run(const NewRun& run) override {
        conn_.reconnect_if_lost();
        pq::Transaction transaction(conn_);
        // Two servers inserting the same bytes at once: the second waits on
        // the unique key until the first commits, then finds its row.
        const pq::Result inserted =
            conn_.exec("INSERT INTO runs (sha256, bytes, received_ms, made_by) "
                       "VALUES ($1, $2, $3, $4) ON CONFLICT (sha256) DO NOTHING RETURNING id",
                       {pq::text(run.sha256), pq::bytes(run.bytes), pq::integer(run.received_ms),
                        pq::text(run.made_by)});
        if (PQntuples(inserted.get()) == 0) {
            const pq::Result first =
                conn_.exec("SELECT id FROM runs WHERE sha256 = $1", {pq::text(run.sha256)});
            return {pq::int_at(first.get(), 0, 0), false, false};
        }
        const std::int64_t id = pq::int_at(inserted.get(), 0, 0);
        for (std::size_t index = 0; index < run.games.size(); ++index) {
            const Game& game = run.games[index];
            if (game.kind == Kind::ranked) {
                // The row lock makes one of two runs claiming a ticket wait
                // and then find it used.
                const pq::Result claimed =
                    conn_.exec("UPDATE tickets SET run_id = $1 WHERE id = $2 AND run_id IS NULL",
                               {pq::integer(id), pq::text(game.ticket)});
                if (pq::affected(claimed.get()) != 1) {
                    return {0, false, true};
                }
            }
            conn_.exec("INSERT INTO games (run_id, idx, name, start_level, end_level, points, "
                       "lives, ending, frames, kind, ticket, received_ms) "
                       "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12)",
                       {pq::integer(id), pq::integer(static_cast<std::int64_t>(index)),
                        pq::text(game.name), pq::integer(game.start_level),
                        pq::integer(game.end_level), pq::integer(game.points),
                        pq::integer(game.lives), pq::text(game.ending), pq::integer(game.frames),
                        pq::text(kind_name(game.kind)),
                        game.ticket.empty() ? pq::null() : pq::text(game.ticket),
                        pq::integer(run.received_ms)});
        }
        add_to_counts(run.games);
        transaction.commit();
        return {id, true, false};
    }

    std::vector<Placed> board(const BoardQuery& query) override {
        conn_.reconnect_if_lost();
        Filter filter = filter_of(query, "g", 1);
        const int first = static_cast<int>(filter.params.size()) + 1;
        const std::string sql = std::string("SELECT run_id, idx, received_ms, ") + game_columns +
                                " FROM games g WHERE " + filter.where +
                                " ORDER BY points DESC, received_ms, run_id, idx LIMIT $" +
                                std::to_string(first) + " OFFSET $" + std::to_string(first + 1);
        filter.params.push_back(pq::integer(query.limit));
        filter.params.push_back(pq::integer(query.offset));
        const pq::Result rows = conn_.exec(sql.c_str(), filter.params);
        std::vector<Placed> placed;
        for (int row = 0; row < PQntuples(rows.get()); ++row) {
            placed.push_back({query.offset + row + 1, pq::int_at(rows.get(), row, 0),
                              static_cast<int>(pq::int_at(rows.get(), row, 1)),
                              pq::int_at(rows.get(), row, 2), game_at(rows.get(), row, 3)});
        }
        return placed;
    }

    std::int64_t count(const BoardQuery& query) override {
        conn_.reconnect_if_lost();
        std::string sql = "SELECT COALESCE(sum(n), 0) FROM board_counts WHERE level = $1";
        std::vector<pq::Param> params = {pq::integer(query.level.value_or(0))};
        if (query.kind) {
            sql += " AND kind = $2";
            params.push_back(pq::text(kind_name(*query.kind)));
        }
        return pq::int_at(conn_.exec(sql.c_str(), params).get(), 0, 0);
    }

    std::optional<StoredRun> run(std::int64_t id) override {
        conn_.reconnect_if_lost();
        const pq::Result found = conn_.exec(
            "SELECT sha256, received_ms, made_by FROM runs WHERE id = $1", {pq::integer(id)});
        if (PQntuples(found.get()) == 0) {
            return std::nullopt;
        }
        StoredRun stored{id,
                         pq::text_at(found.get(), 0, 0),
                         pq::int_at(found.get(), 0, 1),
                         pq::text_at(found.get(), 0, 2),
                         {}};
        const std::string sql =
            std::string("SELECT ") + game_columns + " FROM games WHERE run_id = $1 ORDER BY idx";
        const pq::Result games = conn_.exec(sql.c_str(), {pq::integer(id)});
        for (int row = 0; row < PQntuples(games.get()); ++row) {
            stored.games.push_back(game_at(games.get(), row, 0));
        }
        return stored;
    }

    std::vector<std::int64_t> places(std::int64_t run_id, const BoardQuery& query) override {
        conn_.reconnect_if_lost();
        Filter filter = filter_of(query, "g", 2);
        filter.params.insert(filter.params.begin(), pq::integer(run_id));
        // A game's place: one more than the games of that board ahead of it;
        // 0 for a game that board does not hold.
        const Filter mine = filter_of(query, "m", 2);
        const std::string sql =
            "SELECT CASE WHEN " + mine.where + " THEN 1 + (SELECT count(*) FROM games g WHERE " +
            filter.where +
            " AND (g.points > m.points OR (g.points = m.points AND "
            "(g.received_ms, g.run_id, g.idx) < (m.received_ms, m.run_id, m.idx)))) ELSE 0 END"
            " FROM games m WHERE m.run_id = $1 ORDER BY m.idx";
        const pq::Result rows = conn_.exec(sql.c_str(), filter.params);
        std::vector<std::int64_t> places;
        for (int row = 0; row < PQntuples(rows.get()); ++row) {
            places.push_back(pq::int_at(rows.get(), row, 0));
        }
        return places;
    }

    std::optional<std::string> recording(std::int64_t id) override {
        conn_.reconnect_if_lost();
        const pq::Result found =
            conn_.exec("SELECT bytes FROM runs WHERE id = $1", {pq::integer(id)}, true);
        if (PQntuples(found.get()) == 0) {
            return std::nullopt;
        }
        return pq::text_at(found.get(), 0, 0);
    }

    Ticket issue_ticket(std::uint32_t seed, std::int64_t issued_ms) override {
        conn_.reconnect_if_lost();
        const pq::Result issued =
            conn_.exec("INSERT INTO tickets (id, seed, issued_ms) "
                       "VALUES (replace(gen_random_uuid()::text, '-', ''), $1, $2) RETURNING id",
                       {pq::integer(seed), pq::integer(issued_ms)});
        return {pq::text_at(issued.get(), 0, 0), seed, issued_ms, std::nullopt};
    }

    std::optional<Ticket> ticket(const std::string& id) override {
        conn_.reconnect_if_lost();
        const pq::Result found =
            conn_.exec("SELECT seed, issued_ms, run_id FROM tickets WHERE id = $1", {pq::text(id)});
        if (PQntuples(found.get()) == 0) {
            return std::nullopt;
        }
        Ticket ticket{id, static_cast<std::uint32_t>(pq::int_at(found.get(), 0, 0)),
                      pq::int_at(found.get(), 0, 1), std::nullopt};
        if (!pq::null_at(found.get(), 0, 2)) {
            ticket.run_id = pq::int_at(found.get(), 0, 2);
        }
        return ticket;
    }

  private:
    // Each board's count grows by the run's games on it. The rows are taken
    // in one order by every server, so two inserts wait on each other and
    // never deadlock.
    void add_to_counts(const std::vector<Game>& games) {
        std::map<std::pair<int, std::string>, std::int64_t> added;
        for (const Game& game : games) {
            for (const int level : {0, game.start_level}) {
                ++added[{level, kind_name(game.kind)}];
            }
        }
        for (const auto& [board, n] : added) {
            conn_.exec("INSERT INTO board_counts (level, kind, n) VALUES ($1, $2, $3) "
                       "ON CONFLICT (level, kind) DO UPDATE SET n = board_counts.n + excluded.n",
                       {pq::integer(board.first), pq::text(board.second), pq::integer(n)});
        }
    }

    pq::Connection conn_;
};

} // namespace

std::unique_ptr<Store> open_postgres_store(const std::string& url) {
    return std::make_unique<PostgresStore>(url);
}

} // namespace board
