#include "server/postgres_store.hpp"

#include "server/schema.hpp"
#include "server/sql/postgres_connection.hpp"
#include "server/sql_store.hpp"

namespace board {

std::unique_ptr<Store> open_postgres_store(const std::string& url) {
    return open_sql_store(sql::open_postgres(url), POSTGRES_MIGRATIONS);
}

} // namespace board
