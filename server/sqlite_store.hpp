#pragma once
// The board kept in one SQLite file (see sql/sqlite_connection.hpp for how
// the file is opened).

#include "server/store.hpp"

#include <memory>
#include <string>

namespace board {

std::unique_ptr<Store> open_sqlite_store(const std::string& path);

} // namespace board
