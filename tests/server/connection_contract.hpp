#pragma once
// What the store asks of every engine's sql::Connection, run against each:
// an engine's test instantiates ConnectionContract with a way to open a
// fresh database holding the board's schema.

#include "server/sql/connection.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace board::testing {

struct Backend {
    std::string name;
    // A new connection to a new database; shared, so it may hold what the
    // database lives in.
    std::function<std::shared_ptr<sql::Connection>()> fresh;
};

inline void PrintTo(const Backend& backend, std::ostream* out) {
    *out << backend.name;
}

class ConnectionContract : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override { conn = GetParam().fresh(); }
    std::shared_ptr<sql::Connection> conn;
};

} // namespace board::testing
