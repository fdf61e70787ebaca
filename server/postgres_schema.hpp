#pragma once
// The board's tables in PostgreSQL, created and migrated at open.

#include "pq.hpp"
#include "server/schema.hpp"

#include <iterator>

namespace board {

// The schema version this server writes.
inline constexpr int postgres_schema_version = static_cast<int>(std::size(POSTGRES_MIGRATIONS));

// Brings the database to postgres_schema_version, under an advisory lock
// held by one transaction, so servers opening together migrate once. Throws
// StoreError when the database was written by a later version.
void migrate_postgres(pq::Connection& conn);

} // namespace board
