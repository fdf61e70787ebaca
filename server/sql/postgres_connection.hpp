#pragma once
// The board's connection to PostgreSQL, for several servers sharing one
// database. It outlives the server's own connection: one the server
// dropped is replaced, before the next statement, by one opened with the
// same URL and the same session settings.

#include "server/sql/connection.hpp"

#include <memory>
#include <string>

namespace board::sql {

struct PostgresSession {
    // "on": no commit returns before it is on disk, whatever the database's
    // default, since an answer promises the run is kept.
    std::string synchronous_commit = "on";
};

// `url`: a libpq connection string or postgresql:// URL.
std::unique_ptr<Connection> open_postgres(const std::string& url, PostgresSession session = {});

} // namespace board::sql
