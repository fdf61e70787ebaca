#include "server/sqlite_store.hpp"

#include "console/digits.hpp"
#include "server/schema.hpp"
#include "server/store_text.hpp"

#include <sqlite3.h>

#include <iterator>
#include <map>
#include <random>
#include <string_view>

namespace board {
namespace {

constexpr int BUSY_TIMEOUT_MS = 10000;
constexpr int LATEST_VERSION = static_cast<int>(std::size(SQLITE_MIGRATIONS));

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStmt {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;

// One prepared statement, reset and cleared of its values whenever it is
// taken again.
class Stmt {
  public:
    Stmt(sqlite3* db, sqlite3_stmt* s) : db_(db), s_(s) {}
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    // A statement left on a row keeps its read transaction, and with it an
    // old snapshot: the connection's next write would fail as busy.
    ~Stmt() { sqlite3_reset(s_); }

    Stmt& bind(int i, std::int64_t v) {
        check(sqlite3_bind_int64(s_, i, v));
        return *this;
    }
    Stmt& bind(int i, std::string_view v) {
        check(sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Stmt& bind_blob(int i, std::string_view v) {
        check(sqlite3_bind_blob(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Stmt& bind(const char* name, std::int64_t v) { return bind(index(name), v); }
    Stmt& bind(const char* name, std::string_view v) { return bind(index(name), v); }
    Stmt& bind_null(int i) {
        check(sqlite3_bind_null(s_, i));
        return *this;
    }
    // True while a row is there to read.
    bool step() {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw StoreError(std::string("sqlite: ") + sqlite3_errmsg(db_));
    }
    std::int64_t integer(int col) const { return sqlite3_column_int64(s_, col); }
    bool is_null(int col) const { return sqlite3_column_type(s_, col) == SQLITE_NULL; }
    std::string text(int col) const {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, col));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col)))
                 : std::string();
    }

  private:
    int index(const char* name) const { return sqlite3_bind_parameter_index(s_, name); }
    void check(int rc) const {
        if (rc != SQLITE_OK)
            throw StoreError(std::string("sqlite: ") + sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* s_;
};

void exec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string what = std::string("sqlite: ") + (message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        throw StoreError(what);
    }
}

// The filters of a board query, as SQL over the games table, with the
// values they bind; each combination is its own text, so the planner
// picks the index made for it.
struct Filter {
    std::string where;
    std::optional<int> level;
    std::optional<std::string> kind;
};

Filter filter_of(const BoardQuery& q) {
    Filter f;
    f.where = " WHERE 1";
    if (q.level) {
        f.where += " AND start_level = :level";
        f.level = *q.level;
    }
    if (q.kind) {
        f.where += " AND kind = :kind";
        f.kind = std::string(kind_text(*q.kind));
    }
    return f;
}

// A ticket's id is its only secret: 128 bits from the system's source.
std::string new_ticket_id() {
    std::random_device source;
    std::string id;
    for (int i = 0; i < 8; ++i) {
        const auto bits = static_cast<std::uint16_t>(source());
        for (const int shift : {12, 8, 4, 0})
            id += console::HEX_DIGITS[(bits >> shift) & 15];
    }
    return id;
}

class SqliteStore final : public Store {
  public:
    explicit SqliteStore(Db db) : db_(std::move(db)) {}
    ~SqliteStore() override {
        statements_.clear(); // before the connection they belong to
    }
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    Inserted insert_run(const NewRun& run) override {
        Transaction tx(*this);
        Inserted result;
        Stmt ins = prepared("INSERT INTO runs (sha256, bytes, received_ms, made_by) "
                            "VALUES (?1, ?2, ?3, ?4) ON CONFLICT (sha256) DO NOTHING");
        ins.bind(1, run.sha256)
            .bind_blob(2, run.bytes)
            .bind(3, run.received_ms)
            .bind(4, run.made_by);
        ins.step();
        if (sqlite3_changes(db_.get()) == 0) {
            Stmt old = prepared("SELECT id FROM runs WHERE sha256 = ?1");
            old.bind(1, run.sha256);
            old.step();
            result.id = old.integer(0);
            tx.commit();
            return result;
        }
        result.id = sqlite3_last_insert_rowid(db_.get());
        result.created = true;
        for (std::size_t i = 0; i < run.games.size(); ++i) {
            const Game& g = run.games[i];
            if (g.kind == Kind::ranked && !take_ticket(g.ticket, result.id)) {
                tx.rollback();
                return Inserted{0, false, true};
            }
            Stmt game = prepared(
                "INSERT INTO games (run_id, idx, name, start_level, end_level, points, lives, "
                "ending, frames, kind, ticket, received_ms) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
            game.bind(1, result.id)
                .bind(2, static_cast<std::int64_t>(i))
                .bind(3, g.name)
                .bind(4, g.start_level)
                .bind(5, g.end_level)
                .bind(6, g.points)
                .bind(7, g.lives)
                .bind(8, g.ending)
                .bind(9, g.frames)
                .bind(10, kind_text(g.kind))
                .bind(12, run.received_ms);
            if (g.ticket.empty())
                game.bind_null(11);
            else
                game.bind(11, g.ticket);
            game.step();
            for (const std::int64_t level : {std::int64_t{0}, std::int64_t{g.start_level}}) {
                Stmt count =
                    prepared("INSERT INTO board_counts (level, kind, n) VALUES (?1, ?2, 1) "
                             "ON CONFLICT (level, kind) DO UPDATE SET n = n + 1");
                count.bind(1, level).bind(2, kind_text(g.kind)).step();
            }
        }
        tx.commit();
        return result;
    }

    std::vector<Placed> board(const BoardQuery& q) override {
        const Filter f = filter_of(q);
        Stmt s = prepared("SELECT run_id, idx, received_ms, name, start_level, end_level, points, "
                          "lives, ending, frames, kind, ticket FROM games" +
                          f.where +
                          " ORDER BY points DESC, received_ms, run_id, idx "
                          "LIMIT :limit OFFSET :offset");
        bind_filter(s, f);
        s.bind(":limit", q.limit);
        s.bind(":offset", q.offset);
        std::vector<Placed> out;
        std::int64_t place = q.offset;
        while (s.step()) {
            Placed p;
            p.place = ++place;
            p.run_id = s.integer(0);
            p.game_index = static_cast<int>(s.integer(1));
            p.received_ms = s.integer(2);
            p.game = game_at(s, 3);
            out.push_back(std::move(p));
        }
        return out;
    }

    std::int64_t count(const BoardQuery& q) override {
        std::string sql = "SELECT COALESCE(SUM(n), 0) FROM board_counts WHERE level = :level";
        if (q.kind)
            sql += " AND kind = :kind";
        Stmt s = prepared(sql);
        s.bind(":level", q.level.value_or(0));
        if (q.kind)
            s.bind(":kind", kind_text(*q.kind));
        s.step();
        return s.integer(0);
    }

    std::optional<StoredRun> run(std::int64_t id) override {
        Stmt s = prepared("SELECT sha256, received_ms, made_by FROM runs WHERE id = ?1");
        s.bind(1, id);
        if (!s.step())
            return std::nullopt;
        StoredRun r;
        r.id = id;
        r.sha256 = s.text(0);
        r.received_ms = s.integer(1);
        r.made_by = s.text(2);
        Stmt g = prepared("SELECT name, start_level, end_level, points, lives, ending, frames, "
                          "kind, ticket FROM games WHERE run_id = ?1 ORDER BY idx");
        g.bind(1, id);
        while (g.step())
            r.games.push_back(game_at(g, 0));
        return r;
    }

    std::vector<std::int64_t> places(std::int64_t run_id, const BoardQuery& q) override {
        const Filter f = filter_of(q);
        Stmt games = prepared("SELECT idx, points, received_ms, start_level, kind FROM games "
                              "WHERE run_id = ?1 ORDER BY idx");
        games.bind(1, run_id);
        std::vector<std::int64_t> out;
        while (games.step()) {
            const std::int64_t idx = games.integer(0);
            const bool on_board =
                (!f.level || *f.level == games.integer(3)) && (!f.kind || *f.kind == games.text(4));
            if (!on_board) {
                out.push_back(0);
                continue;
            }
            Stmt before = prepared("SELECT COUNT(*) FROM games" + f.where +
                                   " AND (points > :points OR (points = :points AND "
                                   "(received_ms, run_id, idx) < (:received, :run, :idx)))");
            bind_filter(before, f);
            before.bind(":points", games.integer(1));
            before.bind(":received", games.integer(2));
            before.bind(":run", run_id);
            before.bind(":idx", idx);
            before.step();
            out.push_back(before.integer(0) + 1);
        }
        return out;
    }

    std::optional<std::string> recording(std::int64_t id) override {
        Stmt s = prepared("SELECT bytes FROM runs WHERE id = ?1");
        s.bind(1, id);
        if (!s.step())
            return std::nullopt;
        return s.text(0);
    }

    Ticket issue_ticket(std::uint32_t seed, std::int64_t issued_ms) override {
        Ticket t{new_ticket_id(), seed, issued_ms, std::nullopt};
        Stmt s = prepared("INSERT INTO tickets (id, seed, issued_ms) VALUES (?1, ?2, ?3)");
        s.bind(1, t.id).bind(2, std::int64_t{seed}).bind(3, issued_ms).step();
        return t;
    }

    std::optional<Ticket> ticket(const std::string& id) override {
        Stmt s = prepared("SELECT seed, issued_ms, run_id FROM tickets WHERE id = ?1");
        s.bind(1, id);
        if (!s.step())
            return std::nullopt;
        Ticket t{id, static_cast<std::uint32_t>(s.integer(0)), s.integer(1), std::nullopt};
        if (!s.is_null(2))
            t.run_id = s.integer(2);
        return t;
    }

    void migrate() {
        exec(db_.get(), "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT "
                        "NULL)");
        Transaction tx(*this);
        Stmt s = prepared("SELECT value FROM meta WHERE key = 'schema_version'");
        const int version = s.step() ? std::stoi(s.text(0)) : 0;
        if (version > LATEST_VERSION)
            throw StoreError("the database's schema version " + std::to_string(version) +
                             " is later than this server knows (" + std::to_string(LATEST_VERSION) +
                             ")");
        for (int v = version; v < LATEST_VERSION; ++v)
            exec(db_.get(), SQLITE_MIGRATIONS[v]);
        Stmt set = prepared("INSERT INTO meta (key, value) VALUES ('schema_version', ?1) "
                            "ON CONFLICT (key) DO UPDATE SET value = excluded.value");
        set.bind(1, std::to_string(LATEST_VERSION)).step();
        tx.commit();
    }

  private:
    // BEGIN IMMEDIATE takes the write lock at once, so two writers never
    // both read and then fail to upgrade.
    class Transaction {
      public:
        explicit Transaction(SqliteStore& s) : s_(s) { exec(s_.db_.get(), "BEGIN IMMEDIATE"); }
        ~Transaction() {
            if (open_)
                sqlite3_exec(s_.db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        }
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit() {
            exec(s_.db_.get(), "COMMIT");
            open_ = false;
        }
        void rollback() {
            exec(s_.db_.get(), "ROLLBACK");
            open_ = false;
        }

      private:
        SqliteStore& s_;
        bool open_ = true;
    };

    Stmt prepared(const std::string& sql) {
        auto found = statements_.find(sql);
        if (found == statements_.end()) {
            sqlite3_stmt* raw = nullptr;
            if (sqlite3_prepare_v3(db_.get(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &raw,
                                   nullptr) != SQLITE_OK)
                throw StoreError(std::string("sqlite: ") + sqlite3_errmsg(db_.get()));
            found =
                statements_.emplace(sql, std::unique_ptr<sqlite3_stmt, FinalizeStmt>(raw)).first;
        }
        sqlite3_stmt* s = found->second.get();
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        return Stmt(db_.get(), s);
    }

    static void bind_filter(Stmt& s, const Filter& f) {
        if (f.level)
            s.bind(":level", *f.level);
        if (f.kind)
            s.bind(":kind", *f.kind);
    }

    static Game game_at(const Stmt& s, int first) {
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
        return g;
    }

    bool take_ticket(const std::string& id, std::int64_t run_id) {
        Stmt s = prepared("UPDATE tickets SET run_id = ?2 WHERE id = ?1 AND run_id IS NULL");
        s.bind(1, id).bind(2, run_id).step();
        return sqlite3_changes(db_.get()) == 1;
    }

    Db db_;
    std::map<std::string, std::unique_ptr<sqlite3_stmt, FinalizeStmt>> statements_;
};

} // namespace

std::unique_ptr<Store> open_sqlite_store(const std::string& path) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK)
        throw StoreError("cannot open " + path + ": " +
                         (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    sqlite3_busy_timeout(db.get(), BUSY_TIMEOUT_MS);
    exec(db.get(), "PRAGMA journal_mode = WAL");
    // The WAL is checkpointed every 1000 pages written (SQLite's own
    // default, named here as the policy), and cut back to this size after
    // a checkpoint: a run of a long session's recording makes it grow for
    // one transaction, not for good.
    exec(db.get(), "PRAGMA wal_autocheckpoint = 1000");
    exec(db.get(), "PRAGMA journal_size_limit = 16777216");
    exec(db.get(), "PRAGMA synchronous = FULL");
    exec(db.get(), "PRAGMA foreign_keys = ON");
    auto store = std::make_unique<SqliteStore>(std::move(db));
    store->migrate();
    return store;
}

} // namespace board
