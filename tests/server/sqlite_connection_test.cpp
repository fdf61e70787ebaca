// The connection's contract on SQLite, on a file of the board's schema.
#include "connection_contract.hpp"
#include "server/schema.hpp"
#include "server/sql/sqlite_connection.hpp"
#include "temp_dir.hpp"

namespace board::testing {
namespace {

Backend sqlite() {
    return {"sqlite", [] {
                struct Held {
                    teste::TempDir dir;
                    std::unique_ptr<sql::Connection> conn;
                };
                const auto held = std::make_shared<Held>();
                held->conn = sql::open_sqlite(held->dir.file("board.sqlite3"));
                held->conn->exec(SQLITE_SCHEMA_1);
                return std::shared_ptr<sql::Connection>(held, held->conn.get());
            }};
}

INSTANTIATE_TEST_SUITE_P(Sqlite, ConnectionContract, ::testing::Values(sqlite()),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace board::testing
