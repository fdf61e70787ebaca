#pragma once
// The board's connection to one SQLite file: WAL, so readers never wait for
// the writer; a busy timeout, so writers queue rather than fail; and
// synchronous=FULL, so a run answered as stored survives a crash or a
// power cut.

#include "server/sql/connection.hpp"

#include <memory>
#include <string>

namespace board::sql {

std::unique_ptr<Connection> open_sqlite(const std::string& path);

} // namespace board::sql
