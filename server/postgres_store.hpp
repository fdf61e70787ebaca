#pragma once
// The board kept in PostgreSQL, for several servers sharing one database.

#include "store.hpp"

#include <memory>
#include <string>

namespace board {

// `url`: a libpq connection string or postgresql:// URL. Connects, then
// creates or migrates the schema under an advisory lock, so servers starting
// together do it once. Throws StoreError with a one-line reason.
std::unique_ptr<Store> open_postgres_store(const std::string& url);

} // namespace board
