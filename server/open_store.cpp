#include "server/sqlite_store.hpp"
#include "server/store.hpp"

#ifdef ORBITRIX_HAVE_POSTGRES
#include "server/postgres_store.hpp"
#endif

#include <string_view>

namespace board {

bool is_postgres_url(std::string_view database) {
    return database.starts_with("postgresql://") || database.starts_with("postgres://");
}

std::unique_ptr<Store> open_store(const std::string& database) {
    if (is_postgres_url(database)) {
#ifdef ORBITRIX_HAVE_POSTGRES
        return open_postgres_store(database);
#else
        throw StoreError("this server was built without PostgreSQL (libpq-dev)");
#endif
    }
    return open_sqlite_store(database);
}

} // namespace board
