// The store's contract on SQLite, each case on a file of its own: the same
// cases as on PostgreSQL.
#include "server/schema.hpp"
#include "server/sql/sqlite_connection.hpp"
#include "server/sqlite_store.hpp"
#include "store_contract.hpp"
#include "temp_dir.hpp"

namespace board::testing {
namespace {

Engine sqlite() {
    return {"sqlite",
            [] {
                // The folder lives as long as what opens the file in it.
                const auto dir = std::make_shared<teste::TempDir>();
                return std::function<std::unique_ptr<Store>()>(
                    [dir] { return open_sqlite_store(dir->file("board.sqlite3")); });
            },
            [] {
                const auto dir = std::make_shared<teste::TempDir>();
                return std::function<std::unique_ptr<sql::Connection>()>(
                    [dir] { return sql::open_sqlite(dir->file("board.sqlite3")); });
            },
            SQLITE_MIGRATIONS};
}

INSTANTIATE_TEST_SUITE_P(Sqlite, StoreContract, ::testing::Values(sqlite()),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace board::testing
