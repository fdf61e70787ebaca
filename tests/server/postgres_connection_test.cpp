// The connection on a real PostgreSQL cluster: the engines' shared
// contract, the dialect it is written in, and a connection the server
// ended under a store.
#include "connection_contract.hpp"
#include "postgres_test_database.hpp"
#include "server/pq.hpp"
#include "server/schema.hpp"
#include "server/sql/postgres_connection.hpp"
#include "server/sql/postgres_dialect.hpp"
#include "server/sql_store.hpp"
#include "store_contract.hpp"

namespace board::testing {
namespace {

Backend postgres() {
    return {"postgres", [] {
                std::shared_ptr<sql::Connection> conn =
                    sql::open_postgres(fresh_postgres_database());
                conn->exec(POSTGRES_SCHEMA_1);
                return conn;
            }};
}

INSTANTIATE_TEST_SUITE_P(Postgres, ConnectionContract, ::testing::Values(postgres()),
                         [](const auto& info) { return info.param.name; });

TEST(PostgresDialect, NumbersPlaceholdersOutsideQuotesOnly) {
    struct Case {
        const char* sql;
        const char* postgres;
    };
    for (const Case c : {
             Case{"SELECT 1", "SELECT 1"},
             Case{"a = ?1 AND b = ?12", "a = $1 AND b = $12"},
             Case{"(?1, ?2, ?1)", "($1, $2, $1)"},
             Case{"key = '?1' AND v = ?1", "key = '?1' AND v = $1"},
             Case{"'it''s ?' || ?2", "'it''s ?' || $2"},
             Case{"\"odd?name\" = ?3", "\"odd?name\" = $3"},
         }) {
        EXPECT_EQ(c.postgres, sql::postgres_text(c.sql)) << c.sql;
    }
}

TEST(PostgresDialect, TellsFailuresApart) {
    struct Case {
        const char* sqlstate;
        bool connection_ok;
        sql::Failure failure;
    };
    for (const Case c : {
             Case{"23505", true, sql::Failure::unique_violation},
             Case{"23503", true, sql::Failure::other}, // a foreign key
             Case{"42601", true, sql::Failure::other}, // syntax
             Case{"57P01", true, sql::Failure::connection_lost},
             Case{"08006", true, sql::Failure::connection_lost},
             Case{"", false, sql::Failure::connection_lost},
             Case{"23505", false, sql::Failure::connection_lost},
         }) {
        EXPECT_EQ(c.failure, sql::postgres_failure(c.sqlstate, c.connection_ok)) << c.sqlstate;
    }
}

TEST(PostgresDialect, ReadsByteaInHexAndRefusesAnythingElse) {
    EXPECT_EQ(std::string("\0\xff\x10", 3), sql::postgres_bytes("\\x00ff10"));
    EXPECT_EQ("", sql::postgres_bytes("\\x"));
    for (const char* bad : {"00ff", "\\x0", "\\x0g", "\\000"})
        EXPECT_THROW(sql::postgres_bytes(bad), sql::Error) << bad;
}

std::string one_value(sql::Connection& conn, const std::string& sql) {
    const auto s = conn.prepare(sql);
    EXPECT_TRUE(s->step()) << sql;
    return s->text(0);
}

// The server ends the store's connection between two calls; the next call
// is answered on a new connection with the session's settings as opened
// ("local" is not the cluster's default, so a reconnection that forgot it
// shows).
TEST(PostgresReconnect, TheCallAfterTheServerEndedTheConnectionIsAnswered) {
    struct Case {
        const char* call;
        std::function<void(Store&)> check;
    };
    const Case cases[] = {
        {"count", [](Store& store) { EXPECT_EQ(1, store.count({})); }},
        {"board", [](Store& store) { EXPECT_EQ(1u, store.board({}).size()); }},
        {"insert_run",
         [](Store& store) {
             EXPECT_TRUE(store.insert_run(make_run("after", 2, {make_game("Bo", 2, 5)})).created);
             EXPECT_EQ(2, store.count({}));
         }},
        {"issue_ticket",
         [](Store& store) {
             const Ticket ticket = store.issue_ticket(3, 4);
             EXPECT_EQ(3u, store.ticket(ticket.id)->seed);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const std::string url = fresh_postgres_database();
        auto conn = sql::open_postgres(url, {"local"});
        sql::Connection& under = *conn;
        const auto store = open_sql_store(std::move(conn), POSTGRES_MIGRATIONS);
        ASSERT_TRUE(store->insert_run(make_run("before", 1, {make_game("Ana", 1, 10)})).created);
        const std::string pid = one_value(under, "SELECT pg_backend_pid()");
        EXPECT_EQ("local", one_value(under, "SHOW synchronous_commit"));

        // The second argument waits until the backend is gone, so the next
        // call cannot reach it still running.
        pq::Connection other(url);
        const pq::Result ended =
            other.exec("SELECT pg_terminate_backend($1, 60000)", {pq::text(pid)});
        ASSERT_EQ("t", pq::text_at(ended.get(), 0, 0));

        c.check(*store);
        EXPECT_NE(pid, one_value(under, "SELECT pg_backend_pid()"));
        EXPECT_EQ("local", one_value(under, "SHOW synchronous_commit"));
    }
}

} // namespace
} // namespace board::testing
