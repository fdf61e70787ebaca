#include "server/sqlite_store.hpp"
#include "server/store.hpp"

#ifdef ORBITRIX_HAVE_POSTGRES
#include "server/postgres_store.hpp"
#endif

#include <string_view>

namespace board {

std::unique_ptr<Store> open_store(const std::string& database) {
    const std::string_view d = database;
    if (d.starts_with("postgresql://") || d.starts_with("postgres://")) {
#ifdef ORBITRIX_HAVE_POSTGRES
        return open_postgres_store(database);
#else
        throw StoreError("this server was built without PostgreSQL (libpq-dev)");
#endif
    }
    return open_sqlite_store(database);
}

} // namespace board
