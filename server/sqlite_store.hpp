#pragma once
// The board kept in one SQLite file: WAL, so readers never wait for the
// writer; a busy timeout, so writers queue rather than fail; and
// synchronous=FULL, so a run answered as stored survives a crash or a
// power cut.

#include "server/store.hpp"

#include <memory>
#include <string>

namespace board {

std::unique_ptr<Store> open_sqlite_store(const std::string& path);

} // namespace board
