// Purging tickets, on each engine through the store's contract fixture.
#include "store_contract.hpp"

#include <map>

namespace board::testing {

TEST_P(StoreContract, PurgingForgetsUsedAndExpiredTicketsOnly) {
    constexpr std::int64_t cutoff = 1000;
    struct Case {
        const char* name;
        std::int64_t issued_ms;
        bool used;
        bool kept;
    };
    const Case cases[] = {
        {"used, old", cutoff - 1, true, false},
        {"used, new", cutoff + 1, true, false},
        {"unused, old", cutoff - 1, false, false},
        {"unused, issued at the cutoff", cutoff, false, true},
        {"unused, new", cutoff + 1, false, true},
    };
    std::map<std::string, std::string> ids;
    std::int64_t run_of_used = 0;
    for (const Case& c : cases) {
        const Ticket ticket = store->issue_ticket(7, c.issued_ms);
        ids[c.name] = ticket.id;
        if (c.used) {
            const Inserted used = store->insert_run(
                make_run(c.name, 5000, {make_game(c.name, 1, 10, Kind::ranked, ticket.id)}));
            ASSERT_TRUE(used.created) << c.name;
            run_of_used = used.id;
        }
    }

    EXPECT_EQ(3, store->purge_tickets(cutoff));
    for (const Case& c : cases)
        EXPECT_EQ(c.kept, store->ticket(ids[c.name]).has_value()) << c.name;
    EXPECT_EQ(0, store->purge_tickets(cutoff)) << "nothing left to purge";

    // The runs keep their games' tickets, and a ticket kept can still be
    // claimed while a purged one cannot.
    EXPECT_EQ(ids["used, new"], store->run(run_of_used)->games.at(0).ticket);
    EXPECT_EQ(2, store->count({std::nullopt, Kind::ranked}));
    EXPECT_TRUE(store
                    ->insert_run(make_run("claims kept", 6000,
                                          {make_game("K", 1, 1, Kind::ranked, ids["unused, new"])}))
                    .created);
    EXPECT_TRUE(store
                    ->insert_run(make_run("claims purged", 6000,
                                          {make_game("P", 1, 1, Kind::ranked, ids["unused, old"])}))
                    .ticket_taken);
}

} // namespace board::testing
