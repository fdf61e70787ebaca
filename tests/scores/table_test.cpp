#include "app/scores/table.hpp"

#include <gtest/gtest.h>

namespace {

using scores::Entry;

Entry game(int points, std::int64_t when, std::string name = "x") {
    return Entry{points, std::move(name), '1', '1', scores::Ending::lost, when};
}

std::vector<int> points_of(const std::vector<Entry>& table) {
    std::vector<int> points;
    for (const Entry& e : table)
        points.push_back(e.points);
    return points;
}

TEST(Table, BestFirstTheEarlierAmongEqualsAndNoMoreThanTen) {
    std::vector<Entry> table;
    for (int i = 0; i < 10; ++i)
        table.push_back(game(1000 - 100 * i, 100 + i)); // 1000 .. 100
    const auto merged =
        scores::merge(table, {game(550, 50, "earlier"), game(550, 900, "later"),
                              game(100, 1, "old"), game(50, 2), game(0, 3), game(2000, 4)});

    EXPECT_EQ(points_of(merged.table),
              (std::vector<int>{2000, 1000, 900, 800, 700, 600, 550, 550, 500, 400}));
    EXPECT_EQ(merged.table[6].name, "earlier");
    EXPECT_EQ(merged.table[7].name, "later");
    // 100 points, though earlier than the kept 100, is cut with it; 0 never enters.
    EXPECT_EQ(merged.places,
              (std::vector<std::optional<int>>{7, 8, std::nullopt, std::nullopt, std::nullopt, 1}));
}

TEST(Table, AGameKeptStaysAheadOfANewOneOfTheSamePointsAndSecond) {
    const auto merged = scores::merge({game(300, 7, "kept")}, {game(300, 7, "new")});
    EXPECT_EQ(merged.table[0].name, "kept");
    EXPECT_EQ(merged.places[0], 2);
}

} // namespace
