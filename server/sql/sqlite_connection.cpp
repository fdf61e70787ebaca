#include "server/sql/sqlite_connection.hpp"

#include <sqlite3.h>

#include <map>

namespace board::sql {
namespace {

constexpr int BUSY_TIMEOUT_MS = 10000;

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStmt {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;
using Prepared = std::unique_ptr<sqlite3_stmt, FinalizeStmt>;

Error error_of(sqlite3* db) {
    const int code = sqlite3_extended_errcode(db);
    const bool unique = code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY;
    return Error(unique ? Failure::unique_violation : Failure::other,
                 std::string("sqlite: ") + sqlite3_errmsg(db));
}

// A statement lent out of the cache, or made for one caller when the
// cached one is lent already. Reset when given back, since a statement left
// on a row keeps its read transaction, and with it an old snapshot, and the
// connection's next write would fail as busy.
class SqliteStatement final : public Statement {
  public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* s, bool* lent) : db_(db), s_(s), lent_(lent) {
        *lent_ = true;
    }
    SqliteStatement(sqlite3* db, Prepared own) : db_(db), s_(own.get()), own_(std::move(own)) {}
    ~SqliteStatement() override {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
        if (lent_)
            *lent_ = false;
    }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int i, const Value& value) override {
        const int rc = std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::nullptr_t>)
                    return sqlite3_bind_null(s_, i);
                else if constexpr (std::is_same_v<T, std::int64_t>)
                    return sqlite3_bind_int64(s_, i, v);
                else if constexpr (std::is_same_v<T, std::string_view>)
                    return sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()),
                                             SQLITE_TRANSIENT);
                else
                    return sqlite3_bind_blob(s_, i, v.bytes.data(),
                                             static_cast<int>(v.bytes.size()), SQLITE_TRANSIENT);
            },
            value);
        if (rc != SQLITE_OK)
            throw error_of(db_);
    }
    bool step() override {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw error_of(db_);
    }
    bool is_null(int col) const override { return sqlite3_column_type(s_, col) == SQLITE_NULL; }
    std::int64_t integer(int col) const override { return sqlite3_column_int64(s_, col); }
    std::string text(int col) const override {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, col));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col)))
                 : std::string();
    }

  private:
    sqlite3* db_;
    sqlite3_stmt* s_;
    bool* lent_ = nullptr;
    Prepared own_;
};

class SqliteConnection final : public Connection {
  public:
    explicit SqliteConnection(Db db) : db_(std::move(db)) {}
    ~SqliteConnection() override {
        statements_.clear(); // before the connection they belong to
    }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::unique_ptr<Statement> prepare(const std::string& sql) override {
        auto found = statements_.find(sql);
        if (found == statements_.end())
            found = statements_.emplace(sql, Cached{compile(sql), false}).first;
        Cached& cached = found->second;
        if (cached.lent)
            return std::make_unique<SqliteStatement>(db_.get(), compile(sql));
        return std::make_unique<SqliteStatement>(db_.get(), cached.statement.get(), &cached.lent);
    }
    void exec(const std::string& script) override {
        char* message = nullptr;
        if (sqlite3_exec(db_.get(), script.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            sqlite3_free(message);
            throw error_of(db_.get());
        }
    }
    // IMMEDIATE takes the write lock at once, so two writers never both
    // read and then fail to upgrade.
    void begin() override { exec("BEGIN IMMEDIATE"); }
    void commit() override { exec("COMMIT"); }
    void rollback() override { exec("ROLLBACK"); }
    // BEGIN IMMEDIATE holds every other writer off already.
    void lock_schema() override {}

  private:
    struct Cached {
        Prepared statement;
        bool lent = false;
    };

    Prepared compile(const std::string& sql) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v3(db_.get(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &raw,
                               nullptr) != SQLITE_OK)
            throw error_of(db_.get());
        return Prepared(raw);
    }

    Db db_;
    std::map<std::string, Cached, std::less<>> statements_;
};

} // namespace

std::unique_ptr<Connection> open_sqlite(const std::string& path) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK)
        throw Error(Failure::other, "cannot open " + path + ": " +
                                        (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), BUSY_TIMEOUT_MS);
    auto conn = std::make_unique<SqliteConnection>(std::move(db));
    conn->exec("PRAGMA journal_mode = WAL");
    // The WAL is checkpointed every 1000 pages written (SQLite's own
    // default, named here as the policy), and cut back to this size after
    // a checkpoint: a run of a long session's recording makes it grow for
    // one transaction, not for good.
    conn->exec("PRAGMA wal_autocheckpoint = 1000");
    conn->exec("PRAGMA journal_size_limit = 16777216");
    conn->exec("PRAGMA synchronous = FULL");
    conn->exec("PRAGMA foreign_keys = ON");
    return conn;
}

} // namespace board::sql
