// The board on PostgreSQL backed up as the README says, over real HTTP:
// pg_dump while the server takes runs, pg_restore into an empty database,
// and a second server on that one.
#include "backed_up_board.hpp"
#include "postgres_test_database.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

using teste::Board;

// A new, empty database on the tests' cluster: a dump is of a whole one.
std::string empty_database() {
    static std::atomic<int> made{0};
    const std::string url = board::testing::postgres_cluster_url();
    const std::string name =
        "backup_" + std::to_string(getpid()) + "_" + std::to_string(made.fetch_add(1));
    EXPECT_EQ(std::system(("psql -qX '" + url + "' -c 'CREATE DATABASE " + name + "'").c_str()), 0);
    const auto at = url.find("/orbitrix?");
    EXPECT_NE(at, std::string::npos) << url;
    return std::string(url).replace(at, 10, "/" + name + "?");
}

board::ServiceConfig on(const std::string& database) {
    board::ServiceConfig c = teste::no_rate_limit();
    c.database = database;
    return c;
}

TEST(BoardOnPostgres, IsBackedUpWhileItServesAndTheCopyServes) {
    const std::string board = empty_database();
    teste::expect_backed_up_while_serving(on(board), [&board](const Board& live) {
        const std::string dump = live.dir.file("board.dump");
        const std::string copy = empty_database();
        // The README's commands, each database named by its URL.
        EXPECT_EQ(std::system(("pg_dump -Fc -d '" + board + "' -f '" + dump + "'").c_str()), 0);
        EXPECT_EQ(std::system(("pg_restore -d '" + copy + "' '" + dump + "'").c_str()), 0);
        return copy;
    });
}

} // namespace
