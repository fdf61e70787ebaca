#pragma once
// The store's contract, run against each engine: an engine's test
// instantiates StoreContract with a way to open a fresh, empty database and
// to open that same database again.

#include "server/sql/connection.hpp"
#include "server/store.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>

namespace board::testing {

struct Engine {
    std::string name;
    // A new empty database; returns what opens it (each call a new
    // connection to that one database).
    std::function<std::function<std::unique_ptr<Store>()>()> fresh;
    // The same, for the engine's bare connections: a board made by an
    // earlier schema version, then opened by this one.
    std::function<std::function<std::unique_ptr<sql::Connection>()>()> fresh_connections;
    std::span<const char* const> migrations; // the engine's, as schema.hpp lists them
};

// Test names show the engine, not the object's bytes.
inline void PrintTo(const Engine& engine, std::ostream* out) {
    *out << engine.name;
}

class StoreContract : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        open = GetParam().fresh();
        store = open();
    }
    std::function<std::unique_ptr<Store>()> open;
    std::unique_ptr<Store> store;
};

// A run of `games` whose bytes (and so sha256) are told apart by `tag`.
NewRun make_run(const std::string& tag, std::int64_t received_ms, std::vector<Game> games);
Game make_game(std::string name, int start_level, std::int64_t points, Kind kind = Kind::open,
               std::string ticket = {});

} // namespace board::testing
