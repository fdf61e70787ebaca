#pragma once
// The board's store over any engine's sql::Connection: every query the
// board asks is written here once, in the one SQL text both engines take.

#include "server/sql/connection.hpp"
#include "server/store.hpp"

#include <memory>
#include <span>

namespace board {

// Brings the database to the last of `migrations` (each engine's schema
// texts, in order; see schema.hpp), then serves the board from it. Throws
// StoreError when the database was written by a later version.
std::unique_ptr<Store> open_sql_store(std::unique_ptr<sql::Connection> conn,
                                      std::span<const char* const> migrations);

} // namespace board
