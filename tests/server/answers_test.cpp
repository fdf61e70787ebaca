// The board's answer, written out by hand for speed, read back by the JSON
// library: the same bytes the library writes for the same document, whatever
// a name holds.
#include "server/answers.hpp"
#include "server/sqlite_store.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>

namespace {

using board::Game;
using board::Json;
using board::Kind;

TEST(BoardAnswer, IsTheTextTheJsonLibraryWritesForTheSameDocument) {
    teste::TempDir dir;
    const auto store = board::open_sqlite_store(dir.file("board.sqlite3"));
    const std::vector<std::string> names{"Ana",
                                         "Zé",
                                         "a \"quoted\" name",
                                         "back\\slash",
                                         "<img src=x onerror=alert(1)>",
                                         "\xe2\x98\xbc \xf0\x9f\x9a\x80",
                                         "~tilde~",
                                         "new\nline"};
    std::vector<Game> games;
    for (std::size_t i = 0; i < names.size(); ++i)
        games.push_back(Game{
            names[i], 2, 3, static_cast<std::int64_t>(100 * i), 1, "venceu", 1234, Kind::open, {}});
    store->insert_run(board::NewRun{"sha", "bytes", 1'765'000'000'123, "1.0.0 linux", games});

    for (const auto& params : std::vector<std::multimap<std::string, std::string>>{
             {}, {{"level", "2"}, {"kind", "open"}, {"limit", "3"}, {"offset", "1"}}}) {
        const auto query = std::get<board::BoardQuery>(board::board_query(params));
        const std::string text = board::board_text(*store, query);
        const Json read = Json::parse(text);
        EXPECT_EQ(board::json_text(read), text);
        ASSERT_FALSE(read["games"].empty());
        EXPECT_EQ(read["total"], store->count(query));
    }

    const Json all = Json::parse(board::board_text(*store, {}));
    EXPECT_EQ(all["level"], "all");
    EXPECT_EQ(all["kind"], "all");
    ASSERT_EQ(all["games"].size(), names.size());
    std::vector<std::string> shown;
    for (const Json& g : all["games"])
        shown.push_back(g["name"]);
    EXPECT_EQ(shown, std::vector<std::string>(names.rbegin(), names.rend()));
    EXPECT_EQ(all["games"][0],
              Json::parse(R"({"name":"new\nline","points":700,"start_level":2,"end_level":3,
                "lives":1,"ending":"venceu","frames":1234,"kind":"open","place":1,"run":1,
                "game":7,"received":"2025-12-06T05:46:40Z"})"));
}

} // namespace
