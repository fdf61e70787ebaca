#include "server/sql_store.hpp"

#include "server/random_token.hpp"
#include "server/store_text.hpp"

#include <charconv>
#include <map>
#include <tuple>
#include <utility>

namespace board {
namespace {

using sql::query;
using sql::Value;

constexpr const char* GAME_COLUMNS =
    "name, start_level, end_level, points, lives, ending, frames, kind, ticket, reason, holds";

// A board's filter over the games aliased `alias`, its values numbered from
// `first`. Each combination is its own text, so the planner picks the index
// made for it; the text names only columns and placeholders.
struct Filter {
    std::string where = "TRUE";
    std::vector<Value> values;
};

Filter filter_of(const BoardQuery& q, const std::string& alias, int first) {
    Filter f;
    if (q.level) {
        f.where += " AND " + alias + ".start_level = ?" + std::to_string(first);
        f.values.emplace_back(std::int64_t{*q.level});
    }
    if (q.kind) {
        f.where += " AND " + alias + ".kind = ?" + std::to_string(first + f.values.size());
        f.values.emplace_back(kind_text(*q.kind));
    }
    return f;
}

// Points summed a bucket at a time in point_buckets (schema version 3, whose
// migration fills it with the same width).
constexpr std::int64_t BUCKET_POINTS = 128;

// The same board's rows of point_counts or point_buckets, aliased `c`, its
// values numbered from `first`: level 0 is the board of all levels, and a
// board of both kinds adds its two rows, named so that each is one range of
// the table's key.
Filter counts_filter_of(const BoardQuery& q, int first) {
    Filter f{"c.level = ?" + std::to_string(first), {std::int64_t{q.level.value_or(0)}}};
    if (q.kind) {
        f.where += " AND c.kind = ?" + std::to_string(first + 1);
        f.values.emplace_back(kind_text(*q.kind));
    } else {
        f.where += " AND c.kind IN (?" + std::to_string(first + 1) + ", ?" +
                   std::to_string(first + 2) + ")";
        f.values.emplace_back(kind_text(Kind::open));
        f.values.emplace_back(kind_text(Kind::ranked));
    }
    return f;
}

// The games of a board with more points than `points` (an SQL integer
// expression; `bucket`, its bucket's), and with `tied` those with as many:
// the buckets above its own, and the rows of its own bucket from it up. At
// most a few hundred rows, however many games.
std::string games_above(const std::string& counts, const std::string& points,
                        const std::string& bucket, bool tied) {
    return "(SELECT COALESCE(SUM(c.games), 0) FROM point_buckets c WHERE " + counts +
           " AND c.bucket > " + bucket + ") + (SELECT COALESCE(SUM(c.games), 0) FROM " +
           "point_counts c WHERE " + counts + " AND c.points " + (tied ? ">= " : "> ") + points +
           " AND c.points < (" + bucket + " + 1) * " + std::to_string(BUCKET_POINTS) + ")";
}

// The place of the game aliased `m`, which the board holds: one more than
// the games with more points and those tied received before it. The tied
// are counted from the other end, those received from it on taken from all
// the tied: a run is read most just after it came, when few came after it
// (`ahead` filters the games aliased g).
std::string place_of_m(const std::string& counts, const std::string& ahead) {
    return "1 + " +
           games_above(counts, "m.points", "m.points / " + std::to_string(BUCKET_POINTS), true) +
           " - (SELECT COUNT(*) FROM games g WHERE " + ahead +
           " AND g.points = m.points AND "
           "(g.received_ms, g.run_id, g.idx) >= (m.received_ms, m.run_id, m.idx))";
}

std::string placeholder(int position) {
    return "?" + std::to_string(position);
}

// (received_ms, run_id, idx) of a cursor bound from `first`.
std::string tie_key(int first) {
    return "(" + placeholder(first) + ", " + placeholder(first + 1) + ", " +
           placeholder(first + 2) + ")";
}

// A cursor's points, then its tie key, from `first`.
void bind_cursor(sql::Statement& s, int first, const BoardCursor& c) {
    s.bind(first, c.points);
    s.bind(first + 1, c.received_ms);
    s.bind(first + 2, c.run_id);
    s.bind(first + 3, std::int64_t{c.game_index});
}

void bind_from(sql::Statement& s, int first, const std::vector<Value>& values) {
    for (const Value& value : values)
        s.bind(first++, value);
}

// The game in a row's columns, in GAME_COLUMNS' order from `first`.
Game game_at(const sql::Statement& s, int first) {
    Game g;
    g.name = s.text(first);
    g.start_level = static_cast<int>(s.integer(first + 1));
    g.end_level = static_cast<int>(s.integer(first + 2));
    g.points = s.integer(first + 3);
    g.lives = static_cast<int>(s.integer(first + 4));
    g.ending = s.text(first + 5);
    g.frames = s.integer(first + 6);
    g.kind = kind_of(s.text(first + 7));
    g.ticket = s.text(first + 8);
    g.reason = s.text(first + 9);
    g.holds = static_cast<int>(s.integer(first + 10));
    return g;
}

// 0 for a database with no schema yet.
int stored_version(sql::Connection& conn) {
    const auto stored = query(conn, "SELECT value FROM meta WHERE key = 'schema_version'");
    if (!stored->step())
        return 0;
    const std::string text = stored->text(0);
    int version = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
    if (error != std::errc() || end != text.data() + text.size() || version < 0)
        throw StoreError("the database's schema_version is not a number: " + text);
    return version;
}

void migrate(sql::Connection& conn, std::span<const char* const> migrations) {
    const int latest = static_cast<int>(migrations.size());
    sql::Transaction tx(conn);
    conn.lock_schema();
    conn.exec("CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)");
    const int version = stored_version(conn);
    if (version > latest)
        throw StoreError("the database's schema version " + std::to_string(version) +
                         " is later than this server knows (" + std::to_string(latest) + ")");
    if (version == latest)
        return; // the transaction only read: its rollback is its end
    for (int v = version; v < latest; ++v)
        conn.exec(migrations[static_cast<std::size_t>(v)]);
    const std::string text = std::to_string(latest);
    query(conn,
          "INSERT INTO meta (key, value) VALUES ('schema_version', ?1) "
          "ON CONFLICT (key) DO UPDATE SET value = excluded.value",
          {std::string_view(text)})
        ->step();
    tx.commit();
}

class SqlStore final : public Store {
  public:
    explicit SqlStore(std::unique_ptr<sql::Connection> conn) : conn_(std::move(conn)) {}

    Inserted insert_run(const NewRun& run) override {
        sql::Transaction tx(*conn_);
        const Inserted inserted = add_run_and_games(run, true);
        if (inserted.ticket_taken)
            tx.rollback();
        else
            tx.commit();
        return inserted;
    }

    std::int64_t open_live(const LiveOpened& o) override {
        const auto s =
            query(*conn_,
                  "INSERT INTO live_sessions (opened_ms, secret_sha256, client) "
                  "VALUES (?1, ?2, ?3) RETURNING id",
                  {o.opened_ms, std::string_view(o.secret_sha256), std::string_view(o.client)});
        s->step();
        return s->integer(0);
    }

    // The session's row is each server's meeting point: every change first
    // moves its count on from what the caller last saw, which on
    // PostgreSQL holds its row until the commit, so of two servers feeding
    // one session at once one waits and then finds the count moved.
    bool deal_live(std::int64_t session, const LiveDeal& d) override {
        sql::Transaction tx(*conn_);
        const std::int64_t number = d.number;
        if (!query(*conn_,
                   "UPDATE live_sessions SET games = ?2 "
                   "WHERE id = ?1 AND run_id IS NULL AND games = ?2 - 1 RETURNING id",
                   {session, number})
                 ->step())
            return false;
        query(*conn_,
              "INSERT INTO live_games (session_id, number, seed, dealt_ms, secret_sha256, name, "
              "level) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
              {session, number, std::int64_t{d.seed}, d.dealt_ms, std::string_view(d.secret_sha256),
               std::string_view(d.name), std::int64_t{d.level}})
            ->step();
        conn_->notify(LIVE_CHANNEL, std::to_string(session) + ":deal");
        tx.commit();
        return true;
    }

    LiveKept add_live_batch(std::int64_t session, const LiveBatch& b) override {
        sql::Transaction tx(*conn_);
        if (!query(*conn_,
                   "UPDATE live_sessions SET batches = ?2 "
                   "WHERE id = ?1 AND run_id IS NULL AND batches = ?2 - 1 RETURNING id",
                   {session, b.seq})
                 ->step()) {
            const auto s =
                query(*conn_, "SELECT batches, run_id FROM live_sessions WHERE id = ?1", {session});
            if (!s->step())
                return LiveKept{false, true, 0};
            return LiveKept{false, !s->is_null(1), s->integer(0)};
        }
        query(*conn_,
              "INSERT INTO live_batches (session_id, seq, received_ms, lines, frame, holds) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6)",
              {session, b.seq, b.received_ms, std::string_view(b.lines), b.frame,
               std::string_view(b.holds)})
            ->step();
        conn_->notify(LIVE_CHANNEL, std::to_string(session) + ":" + std::to_string(b.seq));
        tx.commit();
        return LiveKept{true, false, b.seq};
    }

    std::optional<Inserted> end_live(std::int64_t session, const NewRun& run, std::int64_t batches,
                                     int games) override {
        sql::Transaction tx(*conn_);
        if (!query(*conn_,
                   "UPDATE live_sessions SET batches = batches "
                   "WHERE id = ?1 AND run_id IS NULL AND batches = ?2 AND games = ?3 RETURNING id",
                   {session, batches, std::int64_t{games}})
                 ->step())
            return std::nullopt;
        const Inserted inserted = add_run_and_games(run, false);
        query(*conn_, "UPDATE live_sessions SET run_id = ?1 WHERE id = ?2", {inserted.id, session})
            ->step();
        query(*conn_, "DELETE FROM live_batches WHERE session_id = ?1", {session})->step();
        conn_->notify(LIVE_CHANNEL, std::to_string(session) + ":end");
        tx.commit();
        return inserted;
    }

    std::vector<std::int64_t> open_live_sessions() override {
        const auto s =
            query(*conn_, "SELECT id FROM live_sessions WHERE run_id IS NULL ORDER BY id");
        std::vector<std::int64_t> ids;
        while (s->step())
            ids.push_back(s->integer(0));
        return ids;
    }

    std::optional<KeptLive> live_session(std::int64_t session, std::int64_t after_seq) override {
        // The batches first, then the games, then the session: each later
        // statement sees at least what the one before it saw, so every
        // batch's game is among the games, and a session found ended may
        // have lost batches to its run, which is then what counts.
        KeptLive kept;
        kept.id = session;
        const auto batches = query(*conn_,
                                   "SELECT seq, received_ms, lines, frame, holds FROM live_batches "
                                   "WHERE session_id = ?1 AND seq > ?2 ORDER BY seq",
                                   {session, after_seq});
        while (batches->step())
            kept.batches.push_back(LiveBatch{batches->integer(0), batches->integer(1),
                                             batches->text(2), batches->integer(3),
                                             batches->text(4)});
        const auto games = query(*conn_,
                                 "SELECT number, seed, dealt_ms, secret_sha256, name, level "
                                 "FROM live_games WHERE session_id = ?1 ORDER BY number",
                                 {session});
        while (games->step())
            kept.games.push_back(LiveDeal{static_cast<int>(games->integer(0)),
                                          static_cast<std::uint32_t>(games->integer(1)),
                                          games->integer(2), games->text(3), games->text(4),
                                          static_cast<int>(games->integer(5))});
        const auto found =
            query(*conn_,
                  "SELECT opened_ms, secret_sha256, client, run_id, batches FROM live_sessions "
                  "WHERE id = ?1",
                  {session});
        if (!found->step())
            return std::nullopt;
        kept.opened = LiveOpened{found->integer(0), found->text(1), found->text(2)};
        if (!found->is_null(3))
            kept.run_id = found->integer(3);
        kept.last_seq = found->integer(4);
        return kept;
    }

    std::string live_lines(std::int64_t session) override {
        const auto s = query(
            *conn_, "SELECT lines FROM live_batches WHERE session_id = ?1 ORDER BY seq", {session});
        std::string lines;
        while (s->step())
            lines += s->text(0);
        return lines;
    }

    std::optional<std::int64_t> live_run(std::int64_t session) override {
        const auto s = query(*conn_, "SELECT run_id FROM live_sessions WHERE id = ?1", {session});
        if (!s->step() || s->is_null(0))
            return std::nullopt;
        return s->integer(0);
    }

    std::vector<Placed> board(const BoardQuery& q) override {
        const Filter f = filter_of(q, "g", 1);
        const int next = 1 + static_cast<int>(f.values.size());
        const auto s =
            conn_->prepare(std::string("SELECT run_id, idx, received_ms, ") + GAME_COLUMNS +
                           " FROM games g WHERE " + f.where +
                           " ORDER BY points DESC, received_ms, run_id, idx LIMIT ?" +
                           std::to_string(next) + " OFFSET ?" + std::to_string(next + 1));
        bind_from(*s, 1, f.values);
        s->bind(next, std::int64_t{q.limit});
        s->bind(next + 1, q.offset);
        std::vector<Placed> out;
        while (s->step())
            out.push_back({q.offset + static_cast<std::int64_t>(out.size()) + 1, s->integer(0),
                           static_cast<int>(s->integer(1)), s->integer(2), game_at(*s, 3)});
        return out;
    }

    std::vector<Placed> board_after(const BoardQuery& q, const BoardCursor& after) override {
        // One range of the board's index from the cursor on; the first
        // row's place is one more than the games with more points
        // (games_above' sums) and those tied up to the cursor.
        const Filter f = filter_of(q, "g", 1);
        const int n = static_cast<int>(f.values.size());
        const Filter above = counts_filter_of(q, n + 1);
        const int m = static_cast<int>(above.values.size());
        const auto before = conn_->prepare(
            "SELECT " +
            games_above(above.where, placeholder(n + m + 1), placeholder(n + m + 5), false) +
            " + (SELECT COUNT(*) FROM games g WHERE " + f.where +
            " AND g.points = " + placeholder(n + m + 1) +
            " AND (g.received_ms, g.run_id, g.idx) <= " + tie_key(n + m + 2) + ")");
        bind_from(*before, 1, f.values);
        bind_from(*before, n + 1, above.values);
        bind_cursor(*before, n + m + 1, after);
        before->bind(n + m + 5, after.points / BUCKET_POINTS);
        before->step();
        const std::int64_t ahead = before->integer(0);

        // The rows tied with the cursor after it, then as many as the page
        // still lacks below it: two ranges of the board's index, each in
        // the index's order and bounded by the index alone. As one range
        // with the tied rows' bound a filter, PostgreSQL fetched every row
        // of the cursor's points before it, only to drop them; as a UNION
        // of the two, SQLite sorted both.
        const std::string rows = std::string("SELECT run_id, idx, received_ms, ") + GAME_COLUMNS +
                                 " FROM games g WHERE " + f.where + " AND g.points ";
        const std::string in_order = " ORDER BY points DESC, received_ms, run_id, idx LIMIT ";
        std::vector<Placed> out;
        const auto read = [&](sql::Statement& s) {
            while (s.step())
                out.push_back({ahead + static_cast<std::int64_t>(out.size()) + 1, s.integer(0),
                               static_cast<int>(s.integer(1)), s.integer(2), game_at(s, 3)});
        };
        const auto tied = conn_->prepare(rows + "= " + placeholder(n + 1) +
                                         " AND (g.received_ms, g.run_id, g.idx) > " +
                                         tie_key(n + 2) + in_order + placeholder(n + 5));
        bind_from(*tied, 1, f.values);
        bind_cursor(*tied, n + 1, after);
        tied->bind(n + 5, std::int64_t{q.limit});
        read(*tied);
        if (out.size() < static_cast<std::size_t>(q.limit)) {
            const auto below =
                conn_->prepare(rows + "< " + placeholder(n + 1) + in_order + placeholder(n + 2));
            bind_from(*below, 1, f.values);
            below->bind(n + 1, after.points);
            below->bind(n + 2,
                        static_cast<std::int64_t>(q.limit) - static_cast<std::int64_t>(out.size()));
            read(*below);
        }
        return out;
    }

    std::int64_t count(const BoardQuery& q) override {
        std::string sql = "SELECT COALESCE(SUM(n), 0) FROM board_counts WHERE level = ?1";
        if (q.kind)
            sql += " AND kind = ?2";
        const auto s = conn_->prepare(sql);
        s->bind(1, std::int64_t{q.level.value_or(0)});
        if (q.kind)
            s->bind(2, kind_text(*q.kind));
        s->step();
        return s->integer(0);
    }

    std::optional<StoredRun> run(std::int64_t id) override {
        const auto found =
            query(*conn_, "SELECT sha256, received_ms, made_by FROM runs WHERE id = ?1", {id});
        if (!found->step())
            return std::nullopt;
        StoredRun r{id, found->text(0), found->integer(1), found->text(2), {}};
        const auto games = query(*conn_,
                                 std::string("SELECT ") + GAME_COLUMNS +
                                     " FROM games WHERE run_id = ?1 ORDER BY idx",
                                 {id});
        while (games->step())
            r.games.push_back(game_at(*games, 0));
        return r;
    }

    std::vector<std::int64_t> places(std::int64_t run_id, const BoardQuery& q) override {
        // A game's place: one more than the games of that board ahead of
        // it; 0 for a game that board does not hold. The filters share
        // placeholders, bound once.
        const Filter mine = filter_of(q, "m", 2);
        const Filter ahead = filter_of(q, "g", 2);
        const Filter above = counts_filter_of(q, 2 + static_cast<int>(mine.values.size()));
        const auto s = conn_->prepare(
            "SELECT CASE WHEN " + mine.where + " THEN " + place_of_m(above.where, ahead.where) +
            " ELSE 0 END FROM games m WHERE m.run_id = ?1 ORDER BY m.idx");
        s->bind(1, run_id);
        bind_from(*s, 2, mine.values);
        bind_from(*s, 2 + static_cast<int>(mine.values.size()), above.values);
        std::vector<std::int64_t> out;
        while (s->step())
            out.push_back(s->integer(0));
        return out;
    }

    std::vector<GamePlaces> run_places(std::int64_t run_id) override {
        // Both places of every game in one statement, whatever the board's
        // size: the board of all levels and the game's own level's, both
        // kinds, each counted as places() counts it.
        const auto s =
            query(*conn_,
                  "SELECT " + place_of_m("c.level = 0 AND c.kind IN (?2, ?3)", "TRUE") + ", " +
                      place_of_m("c.level = m.start_level AND c.kind IN (?2, ?3)",
                                 "g.start_level = m.start_level") +
                      " FROM games m WHERE m.run_id = ?1 ORDER BY m.idx",
                  {run_id, kind_text(Kind::open), kind_text(Kind::ranked)});
        std::vector<GamePlaces> out;
        while (s->step())
            out.push_back({s->integer(0), s->integer(1)});
        return out;
    }

    std::optional<std::string> recording(std::int64_t id) override {
        const auto s = query(*conn_, "SELECT bytes FROM runs WHERE id = ?1", {id});
        if (!s->step())
            return std::nullopt;
        return s->text(0);
    }

    Ticket issue_ticket(std::uint32_t seed, std::int64_t issued_ms) override {
        // A ticket's id is its only secret.
        Ticket t{random_token(), seed, issued_ms, std::nullopt};
        query(*conn_, "INSERT INTO tickets (id, seed, issued_ms) VALUES (?1, ?2, ?3)",
              {std::string_view(t.id), std::int64_t{seed}, issued_ms})
            ->step();
        return t;
    }

    std::optional<Ticket> ticket(const std::string& id) override {
        const auto s = query(*conn_, "SELECT seed, issued_ms, run_id FROM tickets WHERE id = ?1",
                             {std::string_view(id)});
        if (!s->step())
            return std::nullopt;
        Ticket t{id, static_cast<std::uint32_t>(s->integer(0)), s->integer(1), std::nullopt};
        if (!s->is_null(2))
            t.run_id = s->integer(2);
        return t;
    }

    std::int64_t purge_tickets(std::int64_t issued_before_ms) override {
        const auto s = query(*conn_,
                             "DELETE FROM tickets WHERE run_id IS NOT NULL OR issued_ms < ?1 "
                             "RETURNING id",
                             {issued_before_ms});
        std::int64_t purged = 0;
        while (s->step())
            ++purged;
        return purged;
    }

  private:
    // The new run's id; none when its bytes were stored before. The same
    // bytes from two servers at once: the second waits on the unique key
    // until the first commits, then finds its row.
    // Inside a transaction. A ranked game claims its ticket when `tickets`
    // (one taken already leaves the transaction to be rolled back); a game
    // played live has none to claim.
    Inserted add_run_and_games(const NewRun& run, bool tickets) {
        const std::optional<std::int64_t> created = add_run(run);
        if (!created) {
            const auto first = query(*conn_, "SELECT id FROM runs WHERE sha256 = ?1",
                                     {std::string_view(run.sha256)});
            first->step();
            return {first->integer(0), false, false};
        }
        const std::int64_t id = *created;
        for (std::size_t index = 0; index < run.games.size(); ++index) {
            const Game& g = run.games[index];
            if (tickets && g.kind == Kind::ranked && !take_ticket(g.ticket, id))
                return {0, false, true};
            query(*conn_,
                  "INSERT INTO games (run_id, idx, name, start_level, end_level, points, lives, "
                  "ending, frames, kind, ticket, received_ms, reason, holds) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)",
                  {id, static_cast<std::int64_t>(index), std::string_view(g.name),
                   std::int64_t{g.start_level}, std::int64_t{g.end_level}, g.points,
                   std::int64_t{g.lives}, std::string_view(g.ending), g.frames, kind_text(g.kind),
                   g.ticket.empty() ? Value(nullptr) : Value(std::string_view(g.ticket)),
                   run.received_ms, std::string_view(g.reason), std::int64_t{g.holds}})
                ->step();
        }
        add_to_counts(run.games);
        add_to_point_counts(run.games);
        return {id, true, false};
    }

    std::optional<std::int64_t> add_run(const NewRun& run) {
        // Its one row read, the statement is let go: SQLite commits no
        // transaction while a write is still being stepped.
        const auto s =
            query(*conn_,
                  "INSERT INTO runs (sha256, bytes, received_ms, made_by) VALUES (?1, ?2, ?3, ?4) "
                  "ON CONFLICT (sha256) DO NOTHING RETURNING id",
                  {std::string_view(run.sha256), sql::Blob{run.bytes}, run.received_ms,
                   std::string_view(run.made_by)});
        if (!s->step())
            return std::nullopt;
        return s->integer(0);
    }

    // The row lock makes one of two runs claiming a ticket wait and then
    // find it used.
    bool take_ticket(const std::string& ticket, std::int64_t run_id) {
        return query(*conn_,
                     "UPDATE tickets SET run_id = ?1 WHERE id = ?2 AND run_id IS NULL RETURNING id",
                     {run_id, std::string_view(ticket)})
            ->step();
    }

    // Each board's count grows by the run's games on it. The rows are taken
    // in one order by every server, so two inserts wait on each other and
    // never deadlock.
    void add_to_counts(const std::vector<Game>& games) {
        std::map<std::pair<std::int64_t, std::string_view>, std::int64_t> added;
        for (const Game& g : games)
            for (const int level : {0, g.start_level})
                ++added[{level, kind_text(g.kind)}];
        for (const auto& [board, n] : added)
            query(*conn_,
                  "INSERT INTO board_counts (level, kind, n) VALUES (?1, ?2, ?3) "
                  "ON CONFLICT (level, kind) DO UPDATE SET n = board_counts.n + excluded.n",
                  {board.first, board.second, n})
                ->step();
    }

    // Each board's count at each game's points grows by one, and so does
    // its bucket's, for the places' sums (schema versions 2 and 3). Taken
    // in one order, as above.
    void add_to_point_counts(const std::vector<Game>& games) {
        std::map<std::tuple<std::int64_t, std::string_view, std::int64_t>, std::int64_t> points;
        std::map<std::tuple<std::int64_t, std::string_view, std::int64_t>, std::int64_t> buckets;
        for (const Game& g : games)
            for (const int level : {0, g.start_level}) {
                ++points[{level, kind_text(g.kind), g.points}];
                ++buckets[{level, kind_text(g.kind), g.points / BUCKET_POINTS}];
            }
        for (const auto& [row, n] : points)
            query(*conn_,
                  "INSERT INTO point_counts (level, kind, points, games) VALUES (?1, ?2, ?3, ?4) "
                  "ON CONFLICT (level, kind, points) DO UPDATE "
                  "SET games = point_counts.games + excluded.games",
                  {std::get<0>(row), std::get<1>(row), std::get<2>(row), n})
                ->step();
        for (const auto& [row, n] : buckets)
            query(*conn_,
                  "INSERT INTO point_buckets (level, kind, bucket, games) VALUES (?1, ?2, ?3, ?4) "
                  "ON CONFLICT (level, kind, bucket) DO UPDATE "
                  "SET games = point_buckets.games + excluded.games",
                  {std::get<0>(row), std::get<1>(row), std::get<2>(row), n})
                ->step();
    }

    std::unique_ptr<sql::Connection> conn_;
};

} // namespace

std::unique_ptr<Store> open_sql_store(std::unique_ptr<sql::Connection> conn,
                                      std::span<const char* const> migrations) {
    migrate(*conn, migrations);
    return std::make_unique<SqlStore>(std::move(conn));
}

} // namespace board
