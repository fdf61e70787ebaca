#include "server/sql/postgres_connection.hpp"

#include "server/pq.hpp"
#include "server/sql/postgres_dialect.hpp"

#include <charconv>
#include <type_traits>
#include <variant>
#include <vector>

namespace board::sql {
namespace {

constexpr Oid BYTEA_OID = 17;

// Any constant shared by every server of this program; "orbitrix" in ASCII.
constexpr const char* MIGRATION_LOCK = "SELECT pg_advisory_xact_lock(8030589290619758968)";

class Session {
  public:
    Session(std::string url, PostgresSession settings)
        : url_(std::move(url)), settings_(std::move(settings)), conn_(open()) {}

    // One statement. Outside a transaction a connection found lost is
    // replaced and the statement sent once more; inside one, what the
    // transaction did is gone with it, so the loss is the caller's. A write
    // whose commit was lost on the way back is sent again too: the store's
    // only such writes are a ticket's insert, which then fails as a unique
    // violation rather than doubling, and a purge, which finds no more.
    pq::Result run(const std::string& sql, const std::vector<pq::Param>& params) {
        return attempt([&] { return conn_->exec(sql.c_str(), params); });
    }
    void script(const std::string& sql) {
        attempt([&] {
            conn_->script(sql.c_str());
            return 0;
        });
    }
    void begin() {
        run("BEGIN", {});
        in_transaction_ = true;
    }
    // COMMIT or ROLLBACK: on the transaction's own connection or not at
    // all, since a new one has no transaction to end.
    void end(const char* sql) {
        in_transaction_ = false;
        conn_->script(sql);
    }

  private:
    template <typename Work> std::invoke_result_t<Work&> attempt(Work work) {
        if (!in_transaction_ && conn_->lost())
            conn_ = open();
        try {
            return work();
        } catch (const Error& error) {
            if (error.failure != Failure::connection_lost || in_transaction_)
                throw;
        }
        conn_ = open();
        return work();
    }

    std::unique_ptr<pq::Connection> open() const {
        auto conn = std::make_unique<pq::Connection>(url_);
        conn->exec("SELECT set_config('synchronous_commit', $1, false)",
                   {pq::text(settings_.synchronous_commit)});
        // The server's notices (a table that already exists) are not the
        // log's business.
        conn->script("SET client_min_messages TO warning");
        return conn;
    }

    std::string url_;
    PostgresSession settings_;
    std::unique_ptr<pq::Connection> conn_;
    bool in_transaction_ = false;
};

pq::Param param_of(const Value& value) {
    return std::visit(
        [](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::nullptr_t>)
                return pq::null();
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return pq::integer(v);
            else if constexpr (std::is_same_v<T, std::string_view>)
                return pq::text(std::string(v));
            else
                return pq::bytes(std::string(v.bytes));
        },
        value);
}

// Sent on the first step, with every value bound by then; the rows are
// then read from the one result.
class PostgresStatement final : public Statement {
  public:
    PostgresStatement(Session& session, std::string sql)
        : session_(session), sql_(std::move(sql)) {}

    void bind(int position, const Value& value) override {
        const auto index = static_cast<std::size_t>(position - 1);
        if (params_.size() <= index)
            params_.resize(index + 1);
        params_[index] = param_of(value);
    }
    bool step() override {
        if (!rows_)
            rows_ = session_.run(sql_, params_);
        return ++row_ < PQntuples(rows_.get());
    }
    bool is_null(int column) const override { return PQgetisnull(rows_.get(), row_, column) != 0; }
    std::int64_t integer(int column) const override {
        const char* text = PQgetvalue(rows_.get(), row_, column);
        const char* end = text + PQgetlength(rows_.get(), row_, column);
        std::int64_t value = 0;
        const auto [stop, error] = std::from_chars(text, end, value);
        if (error != std::errc() || stop != end)
            throw Error(Failure::other, "PostgreSQL: not an integer: " + std::string(text, end));
        return value;
    }
    std::string text(int column) const override {
        std::string value = pq::text_at(rows_.get(), row_, column);
        return PQftype(rows_.get(), column) == BYTEA_OID ? postgres_bytes(value) : value;
    }

  private:
    Session& session_;
    std::string sql_;
    std::vector<pq::Param> params_;
    pq::Result rows_;
    int row_ = -1;
};

class PostgresConnection final : public Connection {
  public:
    PostgresConnection(const std::string& url, PostgresSession settings)
        : session_(url, std::move(settings)) {}

    std::unique_ptr<Statement> prepare(const std::string& sql) override {
        return std::make_unique<PostgresStatement>(session_, postgres_text(sql));
    }
    void exec(const std::string& script) override { session_.script(script); }
    void begin() override { session_.begin(); }
    void commit() override { session_.end("COMMIT"); }
    void rollback() override { session_.end("ROLLBACK"); }
    void lock_schema() override { session_.run(MIGRATION_LOCK, {}); }
    void notify(const std::string& channel, const std::string& payload) override {
        session_.run("SELECT pg_notify($1, $2)", {pq::text(channel), pq::text(payload)});
    }

  private:
    Session session_;
};

} // namespace

std::unique_ptr<Connection> open_postgres(const std::string& url, PostgresSession session) {
    return std::make_unique<PostgresConnection>(url, std::move(session));
}

} // namespace board::sql
