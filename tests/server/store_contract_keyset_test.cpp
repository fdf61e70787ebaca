// Boards read by keyset: pages after each page's last row, put together,
// are the whole board with the same places, on every board of both kinds.
#include "store_contract.hpp"

#include <tuple>

namespace board::testing {
namespace {

std::vector<BoardQuery> boards_of_limit(int limit) {
    std::vector<BoardQuery> boards;
    for (const std::optional<int> level :
         {std::optional<int>{}, std::optional<int>{1}, std::optional<int>{3}})
        for (const std::optional<Kind> kind :
             {std::optional<Kind>{}, std::optional<Kind>{Kind::open},
              std::optional<Kind>{Kind::ranked}})
            boards.push_back({level, kind, limit, 0});
    return boards;
}

using Key = std::tuple<std::int64_t, std::int64_t, int, std::int64_t>; // run, place, game, points

Key key_of(const Placed& p) {
    return {p.run_id, p.place, p.game_index, p.game.points};
}

TEST_P(StoreContract, PagesAfterACursorPutTogetherAreTheWholeBoard) {
    // Ties on points within and across runs, some runs received together.
    for (int run = 0; run < 30; ++run) {
        std::vector<Game> games;
        for (int game = 0; game < 1 + run % 4; ++game) {
            Game g = make_game("k" + std::to_string(run) + "." + std::to_string(game),
                               1 + (run + game) % 4, 50 * ((run * 5 + game) % 7));
            if ((run + game) % 3 == 0) {
                g.kind = Kind::ranked;
                g.ticket = store->issue_ticket(1, 0).id;
            }
            games.push_back(std::move(g));
        }
        ASSERT_TRUE(
            store->insert_run(make_run("k" + std::to_string(run), 30 * (run % 5), games)).created);
    }
    for (const int limit : {1, 4, 100}) {
        for (const BoardQuery& board : boards_of_limit(limit)) {
            BoardQuery whole_board = board;
            whole_board.limit = 100;
            std::vector<Key> whole;
            for (const Placed& p : store->board(whole_board))
                whole.push_back(key_of(p));

            std::vector<Key> paged;
            std::vector<Placed> page = store->board(board);
            while (!page.empty()) {
                for (const Placed& p : page)
                    paged.push_back(key_of(p));
                ASSERT_LE(page.size(), static_cast<std::size_t>(limit));
                const Placed& last = page.back();
                page = store->board_after(
                    board, {last.game.points, last.received_ms, last.run_id, last.game_index});
            }
            EXPECT_EQ(whole, paged)
                << "limit " << limit << ", level " << board.level.value_or(0) << ", kind "
                << (board.kind ? static_cast<int>(*board.kind) : -1);
        }
    }
}

TEST_P(StoreContract, ACursorOfNoStoredRowStillCutsTheBoardByItsKey) {
    store->insert_run(make_run("a", 10, {make_game("A0", 1, 500), make_game("A1", 1, 300)}));
    store->insert_run(make_run("b", 20, {make_game("B0", 1, 500), make_game("B1", 1, 100)}));
    const struct {
        BoardCursor after;
        std::vector<std::string> names;
        std::int64_t first_place;
    } cases[] = {
        {{1000, 0, 1, 0}, {"A0", "B0", "A1", "B1"}, 1}, // above every row
        {{500, 15, 1, 0}, {"B0", "A1", "B1"}, 2},       // between the tied two
        {{500, 20, 1'000'000, 0}, {"A1", "B1"}, 3},     // after both ties
        {{300, 10, 1, 1}, {"B1"}, 4},                   // a row's own key
        {{0, 0, 1, 0}, {}, 0},                          // below every row
    };
    for (const auto& c : cases) {
        const std::vector<Placed> got = store->board_after(BoardQuery{}, c.after);
        std::vector<std::string> names;
        for (const Placed& p : got)
            names.push_back(p.game.name);
        EXPECT_EQ(c.names, names) << c.after.points << "." << c.after.received_ms;
        if (!got.empty()) {
            EXPECT_EQ(c.first_place, got.front().place) << c.after.points;
        }
    }
}

} // namespace
} // namespace board::testing
