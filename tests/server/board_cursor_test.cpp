// The board's cursor as the API writes it and reads it back from a stranger:
// only what the board writes is taken; everything else is a 400.
#include "server/answers.hpp"
#include "server/board_cursor.hpp"
#include "server/sqlite_store.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>

namespace {

using board::BoardCursor;

TEST(BoardCursor, ReadsBackWhatItWrites) {
    for (const BoardCursor& c :
         {BoardCursor{0, 0, 1, 0}, BoardCursor{29990, 1'765'000'000'000, 42, 99},
          BoardCursor{std::int64_t{1} << 53, std::int64_t{1} << 53, std::int64_t{1} << 53,
                      2147483647}}) {
        const std::string text = board::cursor_text(c);
        EXPECT_EQ(c, board::read_cursor(text)) << text;
    }
}

TEST(BoardCursor, RefusesAnythingElse) {
    for (const char* text : {"",
                             ".",
                             "1.2.3",
                             "1.2.3.4.5",
                             "1.2.3.",
                             ".1.2.3",
                             "1..2.3",
                             "01.2.3.4",
                             "1.2.03.4",
                             "-1.2.3.4",
                             "+1.2.3.4",
                             "1.2.0.4",
                             "1.2.3.2147483648",
                             "9007199254740993.2.3.4",
                             "1.2.3.4 ",
                             " 1.2.3.4",
                             "1,2,3,4",
                             "a.b.c.d",
                             "1.2.3.4\n",
                             "99999999999999999.1.1.1"})
        EXPECT_FALSE(board::read_cursor(text)) << '"' << text << '"';
}

TEST(BoardCursor, TheApiTakesItOnceAndNotWithAnOffset) {
    const auto good = board::board_request({{"after", "500.10.3.1"}, {"level", "2"}});
    ASSERT_TRUE(std::holds_alternative<board::BoardRequest>(good));
    EXPECT_EQ((BoardCursor{500, 10, 3, 1}), std::get<board::BoardRequest>(good).after);
    EXPECT_EQ(2, std::get<board::BoardRequest>(good).query.level);
    EXPECT_FALSE(std::get<board::BoardRequest>(board::board_request({})).after);
    for (const std::multimap<std::string, std::string>& refused :
         std::vector<std::multimap<std::string, std::string>>{
             {{"after", "garbage"}},
             {{"after", "500.10.3.1"}, {"after", "400.10.3.1"}},
             {{"after", "500.10.3.1"}, {"offset", "100"}}})
        EXPECT_TRUE(std::holds_alternative<std::string>(board::board_request(refused)));
}

TEST(BoardCursor, AFullPagesNextReadsThePageThatFollows) {
    teste::TempDir dir;
    const auto store = board::open_sqlite_store(dir.file("board.sqlite3"));
    std::vector<board::Game> games;
    for (const std::int64_t points : {300, 500, 500, 100, 200})
        games.push_back({"G" + std::to_string(points), 1, 1, points, 0, "perdeu", 1, {}, {}});
    store->insert_run(board::NewRun{"sha", "bytes", 1000, "1.0.0 linux", games});

    std::vector<std::int64_t> points, places;
    std::multimap<std::string, std::string> params{{"limit", "2"}};
    for (int page = 0; page < 4; ++page) {
        const auto request = board::board_request(params);
        ASSERT_TRUE(std::holds_alternative<board::BoardRequest>(request));
        const board::Json answer = board::Json::parse(
            board::requested_board_text(*store, std::get<board::BoardRequest>(request)));
        for (const board::Json& g : answer["games"]) {
            points.push_back(g["points"]);
            places.push_back(g["place"]);
        }
        if (!answer.contains("next"))
            break;
        params = {{"limit", "2"}, {"after", answer["next"]}};
    }
    EXPECT_EQ((std::vector<std::int64_t>{500, 500, 300, 200, 100}), points);
    EXPECT_EQ((std::vector<std::int64_t>{1, 2, 3, 4, 5}), places);
}

} // namespace
