#include "server/sqlite_store.hpp"

#include "server/schema.hpp"
#include "server/sql/sqlite_connection.hpp"
#include "server/sql_store.hpp"

namespace board {

std::unique_ptr<Store> open_sqlite_store(const std::string& path) {
    return open_sql_store(sql::open_sqlite(path), SQLITE_MIGRATIONS);
}

} // namespace board
