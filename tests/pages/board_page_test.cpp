// The board's page: its tables in the store's order, their columns, and the
// links from page to page.
#include "memory_store.hpp"
#include "server/pages/board_page.hpp"

#include <gtest/gtest.h>

#include <regex>

namespace {

using namespace board::pages;
using pages_test::game;
using pages_test::MemoryStore;

// The text of one table's section, found by its anchor.
std::string section(const std::string& page, const std::string& id) {
    const auto from = page.find("<section id=\"" + id + "\"");
    if (from == std::string::npos)
        return "";
    return page.substr(from, page.find("</section>", from) - from);
}

std::vector<std::string> column(const std::string& html, int index) {
    std::vector<std::string> cells;
    const std::regex row("<tr><td[^>]*>([^<]*)</td><td[^>]*>([^<]*)</td><td[^>]*>([^<]*)</td>");
    for (std::sregex_iterator it(html.begin(), html.end(), row), end; it != end; ++it)
        cells.push_back((*it)[index]);
    return cells;
}

TEST(BoardPage, ListsEachTableInTheStoresOrderWithTheScoresHeadings) {
    MemoryStore store;
    store.add({0, "", 2000, "m", {game("Ana", 300, 1, 2), game("Bia", 900, 2, 2, "venceu")}});
    store.add({0, "", 1000, "m", {game("Caio", 300, 1, 1, "saiu")}});
    const std::string page = board_page(store, {});

    const std::string all = section(page, "todos");
    EXPECT_EQ(column(all, 3), (std::vector<std::string>{"Bia", "Caio", "Ana"}));
    EXPECT_EQ(column(all, 1), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(column(all, 2), (std::vector<std::string>{"900", "300", "300"}));
    EXPECT_EQ(column(section(page, "nivel-1"), 3), (std::vector<std::string>{"Caio", "Ana"}));
    EXPECT_EQ(column(section(page, "nivel-2"), 3), (std::vector<std::string>{"Bia"}));
    for (const char* empty : {"nivel-3", "nivel-4"})
        EXPECT_NE(section(page, empty).find("Nenhum jogo registrado ainda."), std::string::npos);

    const std::regex headings("<th[^>]*>Pos</th><th[^>]*>Pontos</th><th[^>]*>Nome</th>"
                              "<th[^>]*>Nivel</th><th[^>]*>Fim</th><th[^>]*>Data</th>");
    EXPECT_TRUE(std::regex_search(all, headings));
    // Levels as the end screen shows them, the date in UTC, a link to the run.
    EXPECT_NE(all.find("<td>1 a 2</td>"), std::string::npos);
    EXPECT_NE(all.find("<time datetime=\"1970-01-01T00:00:02Z\">1970-01-01T00:00:02Z</time>"),
              std::string::npos);
    EXPECT_NE(all.find("<a href=\"/runs/2\">2</a>"), std::string::npos);
    EXPECT_NE(all.find("class=\"fim-venceu\">venceu<"), std::string::npos);
}

TEST(BoardPage, PagesOnPastTheFirstHundredAndBack) {
    MemoryStore store;
    for (int i = 0; i < 250; ++i)
        store.add({0, "", i, "m", {game("J" + std::to_string(i), 1000 - i, 3, 3)}});

    const std::string front = board_page(store, {});
    const std::string level3 = section(front, "nivel-3");
    EXPECT_EQ(column(level3, 1).size(), 100u);
    EXPECT_NE(level3.find("1 a 100 de 250 jogos"), std::string::npos);
    // Onward by keyset: after the last row shown (J99: 901 points, run 100).
    EXPECT_NE(level3.find("rel=\"next\" href=\"/?level=3&amp;after=901.99.100.0\""),
              std::string::npos);
    EXPECT_EQ(level3.find("rel=\"prev\""), std::string::npos);
    EXPECT_NE(section(front, "todos").find("href=\"/?level=all&amp;after=901.99.100.0\""),
              std::string::npos);
    EXPECT_EQ(section(front, "nivel-1").find("rel=\"next\""), std::string::npos);

    const std::string middle = board_page(store, *board_page_query("3", "100"));
    EXPECT_EQ(section(middle, "todos"), "");
    const auto places = column(section(middle, "nivel-3"), 1);
    ASSERT_EQ(places.size(), 100u);
    EXPECT_EQ(places.front(), "101");
    EXPECT_EQ(places.back(), "200");
    EXPECT_NE(middle.find("rel=\"prev\" href=\"/?level=3&amp;offset=0\""), std::string::npos);
    EXPECT_NE(middle.find("rel=\"next\" href=\"/?level=3&amp;after=801.199.200.0\""),
              std::string::npos);
    // The same page read after its cursor: the same rows, places and links.
    EXPECT_EQ(middle, board_page(store, *board_page_query("3", {}, {}, "901.99.100.0")));
    const std::string after_last = board_page(store, *board_page_query("3", {}, {}, "0.0.1.0"));
    EXPECT_NE(after_last.find("Nenhum jogo nesta pagina."), std::string::npos);

    const std::string last = board_page(store, *board_page_query("3", "200"));
    EXPECT_EQ(column(last, 1).size(), 50u);
    EXPECT_EQ(last.find("rel=\"next\""), std::string::npos);
    EXPECT_NE(last.find("rel=\"prev\" href=\"/?level=3&amp;offset=100\""), std::string::npos);

    const std::string past = board_page(store, *board_page_query("3", "900"));
    EXPECT_NE(past.find("Nenhum jogo nesta pagina."), std::string::npos);
    EXPECT_NE(past.find("rel=\"prev\" href=\"/?level=3&amp;offset=800\""), std::string::npos);
}

TEST(BoardPageQuery, TakesOnlyWhatThePagesLinksWrite) {
    const auto every = board_page_query(std::nullopt, std::nullopt);
    ASSERT_TRUE(every);
    EXPECT_FALSE(every->one_table);

    const auto all = board_page_query("all", "0");
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->one_table);
    EXPECT_FALSE(all->level);
    const auto level = board_page_query("4", std::nullopt);
    ASSERT_TRUE(level);
    EXPECT_EQ(level->level, 4);
    EXPECT_EQ(level->offset, 0);
    EXPECT_EQ(board_page_query(std::nullopt, "300")->offset, 300);

    for (const char* bad : {"0", "5", "10", "", "1 ", "todos", "-1"})
        EXPECT_FALSE(board_page_query(bad, std::nullopt)) << bad;
    for (const char* bad : {"", "-1", "1e3", "+5", "0x10", "9999999999999999", " 1"})
        EXPECT_FALSE(board_page_query("all", bad)) << bad;
    for (const char* bad : {"", "1.2.3", "1.2.3.4.", "01.2.3.4", "1.2.0.4", "x"})
        EXPECT_FALSE(board_page_query("all", {}, {}, bad)) << bad;
    EXPECT_FALSE(board_page_query("all", "100", {}, "1.2.3.4"));
    EXPECT_EQ((board::BoardCursor{1, 2, 3, 4}), board_page_query("all", {}, {}, "1.2.3.4")->after);
}

TEST(BoardPage, TwoTabsRankedFirstEachListingItsKindAlone) {
    MemoryStore store;
    auto ranked = game("Rui", 500, 2, 2);
    ranked.kind = board::Kind::ranked;
    store.add({0, "", 2000, "m", {game("Ana", 900, 2, 2), ranked}});
    for (int i = 0; i < 120; ++i)
        store.add({0, "", 3000 + i, "m", {game("J" + std::to_string(i), 10, 1, 1)}});

    const std::string tabs = "<a href=\"/?kind=ranked\"";
    const std::string both = board_page(store, {});
    const auto first = both.find(tabs);
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(first, both.find("<a href=\"/?kind=open\""));
    EXPECT_EQ(both.find("aria-current"), std::string::npos);

    const std::string on_ranked = board_page(store, *board_page_query({}, {}, "ranked"));
    EXPECT_EQ(column(section(on_ranked, "todos"), 3), std::vector<std::string>{"Rui"});
    EXPECT_EQ(column(section(on_ranked, "nivel-1"), 3), std::vector<std::string>{});
    EXPECT_NE(on_ranked.find(tabs + " aria-current=\"page\">Ranqueados"), std::string::npos);

    const std::string on_open = board_page(store, *board_page_query({}, {}, "open"));
    EXPECT_EQ(column(section(on_open, "nivel-2"), 3), std::vector<std::string>{"Ana"});
    EXPECT_NE(on_open.find("<a href=\"/?kind=open\" aria-current=\"page\">Abertos"),
              std::string::npos);
    // Paging keeps to its tab, and so does the way back.
    EXPECT_NE(section(on_open, "nivel-1")
                  .find("href=\"/?level=1&amp;after=10.3099.101.0&amp;kind=open\""),
              std::string::npos);
    const auto later = board_page_query("1", "100", "open");
    ASSERT_TRUE(later);
    const std::string next = board_page(store, *later);
    EXPECT_EQ(column(section(next, "nivel-1"), 1).size(), 20u);
    EXPECT_NE(next.find("<a href=\"/?kind=open\">Voltar ao placar</a>"), std::string::npos);

    EXPECT_FALSE(board_page_query({}, {}, "Ranked"));
    EXPECT_FALSE(board_page_query("1", {}, ""));
    EXPECT_FALSE(board_page_query({}, {}, "all")->kind);
}

} // namespace
