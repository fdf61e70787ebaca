// The store on a real PostgreSQL cluster: the engines' shared contract, and
// what only a shared database shows: several servers opening, inserting and
// claiming tickets at the same moment.
#include "postgres_test_database.hpp"
#include "server/postgres_store.hpp"
#include "server/pq.hpp"
#include "server/schema.hpp"
#include "server/sql/postgres_connection.hpp"
#include "store_contract.hpp"

#include <latch>
#include <set>
#include <thread>

namespace board::testing {
namespace {

Engine postgres() {
    return {"postgres",
            [] {
                const std::string url = fresh_postgres_database();
                return std::function<std::unique_ptr<Store>()>(
                    [url] { return open_postgres_store(url); });
            },
            [] {
                const std::string url = fresh_postgres_database();
                return std::function<std::unique_ptr<sql::Connection>()>(
                    [url] { return sql::open_postgres(url); });
            },
            POSTGRES_MIGRATIONS};
}

INSTANTIATE_TEST_SUITE_P(Postgres, StoreContract, ::testing::Values(postgres()),
                         [](const auto& info) { return info.param.name; });

// Runs `work(i)` on `count` threads released together.
template <typename Work> void at_once(int count, Work work) {
    std::latch start(count);
    std::vector<std::jthread> threads;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            work(i);
        });
    }
}

TEST(PostgresStore, ServersOpeningTogetherCreateTheSchemaOnce) {
    const std::string url = fresh_postgres_database();
    std::vector<std::unique_ptr<Store>> stores(6);
    std::vector<std::string> errors(stores.size());
    at_once(6, [&](int i) {
        try {
            stores[i] = open_postgres_store(url);
        } catch (const StoreError& error) {
            errors[i] = error.what();
        }
    });
    for (const std::string& error : errors) {
        EXPECT_EQ("", error);
    }
    pq::Connection conn(url);
    const pq::Result version = conn.exec("SELECT value FROM meta WHERE key = 'schema_version'");
    ASSERT_EQ(1, PQntuples(version.get()));
    EXPECT_EQ(std::to_string(std::size(POSTGRES_MIGRATIONS)), pq::text_at(version.get(), 0, 0));
}

TEST(PostgresStore, TheSameRunSentToTwoServersAtOnceIsStoredOnce) {
    const std::string url = fresh_postgres_database();
    std::vector<std::unique_ptr<Store>> servers;
    for (int i = 0; i < 4; ++i) {
        servers.push_back(open_postgres_store(url));
    }
    for (int round = 0; round < 20; ++round) {
        const NewRun run = make_run("race" + std::to_string(round), round,
                                    {make_game("Ana", 1, round), make_game("Bo", 2, round)});
        std::vector<Inserted> answers(servers.size());
        std::vector<std::string> errors(servers.size());
        at_once(static_cast<int>(servers.size()), [&](int i) {
            try {
                answers[i] = servers[i]->insert_run(run);
            } catch (const StoreError& error) {
                errors[i] = error.what();
            }
        });
        int created = 0;
        for (std::size_t i = 0; i < servers.size(); ++i) {
            EXPECT_EQ("", errors[i]);
            EXPECT_EQ(answers[0].id, answers[i].id);
            created += answers[i].created ? 1 : 0;
        }
        EXPECT_EQ(1, created) << "round " << round;
    }
    EXPECT_EQ(40, servers[0]->count({}));
    EXPECT_EQ(servers[1]->board({}).size(), servers[2]->board({}).size());
}

TEST(PostgresStore, RunsStoredAtOnceByManyServersAreAllCounted) {
    const std::string url = fresh_postgres_database();
    constexpr int servers_n = 4;
    constexpr int runs_each = 12;
    std::vector<std::unique_ptr<Store>> servers;
    for (int i = 0; i < servers_n; ++i) {
        servers.push_back(open_postgres_store(url));
    }
    std::vector<std::string> tickets;
    for (int i = 0; i < servers_n * runs_each; ++i) {
        tickets.push_back(servers[0]->issue_ticket(static_cast<std::uint32_t>(i), i).id);
    }
    // Ranked and open games, on several levels, in both orders: what each
    // insert adds to the boards' counts overlaps every other's.
    std::vector<std::string> errors(servers_n);
    at_once(servers_n, [&](int server) {
        for (int j = 0; j < runs_each && errors[server].empty(); ++j) {
            const int n = server * runs_each + j;
            std::vector<Game> games = {make_game("R", 1 + n % 4, n, Kind::ranked, tickets[n]),
                                       make_game("O", 1 + (n + 1) % 4, n)};
            if (n % 2 == 1) {
                std::swap(games[0], games[1]);
            }
            try {
                if (!servers[server]
                         ->insert_run(make_run("m" + std::to_string(n), n, games))
                         .created) {
                    errors[server] = "run " + std::to_string(n) + " not created";
                }
            } catch (const StoreError& error) {
                errors[server] = error.what();
            }
        }
    });
    for (const std::string& error : errors) {
        EXPECT_EQ("", error);
    }
    for (const std::optional<int> level : {std::optional<int>{}, std::optional<int>{2}}) {
        for (const Kind kind : {Kind::open, Kind::ranked}) {
            const BoardQuery query{level, kind, 100, 0};
            EXPECT_EQ(static_cast<std::int64_t>(servers[1]->board(query).size()),
                      servers[2]->count(query));
        }
    }
    EXPECT_EQ(2 * servers_n * runs_each, servers[3]->count({}));
}

TEST(PostgresStore, OneOfRunsClaimingOneTicketAtOnceIsStored) {
    const std::string url = fresh_postgres_database();
    std::vector<std::unique_ptr<Store>> servers;
    for (int i = 0; i < 4; ++i) {
        servers.push_back(open_postgres_store(url));
    }
    const Ticket ticket = servers[0]->issue_ticket(9, 1);
    std::vector<Inserted> answers(servers.size());
    at_once(static_cast<int>(servers.size()), [&](int i) {
        answers[i] = servers[i]->insert_run(
            make_run("claim" + std::to_string(i), i,
                     {make_game("Ana", 1, 100 * i, Kind::ranked, ticket.id)}));
    });
    std::set<std::int64_t> stored;
    for (const Inserted& answer : answers) {
        EXPECT_NE(answer.created, answer.ticket_taken);
        if (answer.created) {
            stored.insert(answer.id);
        }
    }
    ASSERT_EQ(1u, stored.size());
    EXPECT_EQ(*stored.begin(), servers[0]->ticket(ticket.id)->run_id);
    EXPECT_EQ(1, servers[0]->count({}));
}

TEST(PostgresStore, ADatabaseOfALaterSchemaIsLeftAlone) {
    const std::string url = fresh_postgres_database();
    open_postgres_store(url);
    pq::Connection(url).script("UPDATE meta SET value = '99' WHERE key = 'schema_version'");
    try {
        open_postgres_store(url);
        ADD_FAILURE() << "opened a database of schema 99";
    } catch (const StoreError& error) {
        EXPECT_EQ("the database's schema version 99 is later than this server knows (" +
                      std::to_string(std::size(POSTGRES_MIGRATIONS)) + ")",
                  error.what());
    }
}

TEST(PostgresStore, AnUnreachableDatabaseIsOneLineOfReason) {
    try {
        open_postgres_store(postgres_cluster_url() + "&dbname=no_such_database");
        ADD_FAILURE() << "opened a database that does not exist";
    } catch (const StoreError& error) {
        const std::string reason = error.what();
        EXPECT_EQ(std::string::npos, reason.find('\n')) << reason;
        EXPECT_NE(std::string::npos, reason.find("no_such_database")) << reason;
    }
}

} // namespace
} // namespace board::testing
