// A run's page: its games and places, the recording and the player.
#include "memory_store.hpp"
#include "server/pages/run_page.hpp"
#include "server/pages/static_paths.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace board::pages;
using pages_test::game;
using pages_test::MemoryStore;

TEST(RunPage, ShowsEachGameWithItsPlacesOverallAndOnItsLevel) {
    MemoryStore store;
    store.add({0, "", 0, "m", {game("Ze", 5000, 2, 2)}});
    auto lost = game("Ana", 135, 1, 2);
    lost.lives = 0;
    auto left = game("Ana", 9000, 2, 3, "saiu");
    left.lives = 3;
    left.kind = board::Kind::ranked;
    const auto id = store.add({0, "ab", 1765000000000, "orbitrix 1.0 linux", {lost, left}});

    const std::string page = *run_page(store, id);
    EXPECT_NE(page.find("<title>Orbitrix: Sessao 2</title>"), std::string::npos);
    EXPECT_NE(page.find("<h1>Sessao 2</h1>"), std::string::npos);
    EXPECT_NE(page.find("<code>orbitrix 1.0 linux</code>"), std::string::npos);
    EXPECT_NE(page.find("2025-12-06T05:46:40Z</time>"), std::string::npos);
    // Game, name, points, levels, ending, lives, kind, place, place on its level.
    EXPECT_NE(page.find("<td class=\"num\">1</td><td class=\"nome\">Ana</td><td class=\"num\">135"
                        "</td><td>1 a 2</td><td><span class=\"fim-perdeu\">perdeu</span></td>"
                        "<td class=\"num\">0</td><td>aberto</td><td class=\"num\">3</td>"
                        "<td class=\"num\">1</td>"),
              std::string::npos);
    EXPECT_NE(page.find("<td class=\"num\">2</td><td class=\"nome\">Ana</td><td class=\"num\">9000"
                        "</td><td>2 a 3</td><td><span class=\"fim-saiu\">saiu</span></td>"
                        "<td class=\"num\">3</td><td>ranqueado</td><td class=\"num\">1</td>"
                        "<td class=\"num\">1</td>"),
              std::string::npos);
    EXPECT_NE(page.find("<a href=\"/\">Voltar ao placar</a>"), std::string::npos);
}

TEST(RunPage, SaysInPortugueseWhyAGamePlayedLiveIsOpenAndHowOftenItWasHeld) {
    struct Case {
        std::string reason;
        int holds;
        std::string cell;
    };
    const std::vector<Case> cases = {
        {"not played live: only games the board sees played, with --ranked, are ranked", 0,
         "<td>aberto: nao jogado ao vivo</td>"},
        {"slowed down or sent late: over 10 s or more it took longer", 0,
         "<td>aberto: jogo mais lento que o tempo real, ou enviado atrasado</td>"},
        {"held too often or too long: 6 holds, 9 s", 6,
         "<td>aberto: pausado vezes demais, ou tempo demais (6 pausas)</td>"},
        {"", 1, "<td>ranqueado (1 pausa)</td>"},
        {"<b>a reason of another board</b>", 0,
         "<td>aberto: &lt;b&gt;a reason of another board&lt;/b&gt;</td>"},
    };
    for (const Case& c : cases) {
        MemoryStore store;
        auto g = game("Ana", 135, 1, 1);
        g.reason = c.reason;
        g.holds = c.holds;
        g.kind = c.reason.empty() ? board::Kind::ranked : board::Kind::open;
        const auto id = store.add({0, "", 0, "m", {g}});
        EXPECT_NE(run_page(store, id)->find(c.cell), std::string::npos) << c.cell;
    }
}

TEST(RunPage, OffersTheRecordingTheLineThatReplaysItAndThePlayer) {
    MemoryStore store;
    const auto id = store.add({0, "", 0, "m", {game("Ana", 1)}});
    const std::string page = *run_page(store, id);
    EXPECT_NE(page.find("<a href=\"/runs/1.replay\" download=\"orbitrix-1.replay\">"),
              std::string::npos);
    EXPECT_NE(page.find("<code>orbitrix --replay orbitrix-1.replay</code>"), std::string::npos);
    EXPECT_NE(page.find("data-cast=\"/runs/1.cast\""), std::string::npos);
    for (const std::string_view file : {PLAYER_SCRIPT, RUN_SCRIPT, PLAYER_STYLESHEET, STYLESHEET})
        EXPECT_NE(page.find("\"" + std::string(file) + "\""), std::string::npos) << file;
    // The page reads whole without its scripts: they wait for the document.
    EXPECT_NE(page.find("<script defer src="), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("<noscript>"), std::string::npos);
}

TEST(RunPage, NoneForARunTheStoreDoesNotHold) {
    MemoryStore store;
    EXPECT_FALSE(run_page(store, 1));
    store.add({0, "", 0, "m", {}});
    EXPECT_FALSE(run_page(store, 2));
    EXPECT_NE(run_page(store, 1)->find("Nenhuma partida terminou nesta sessao."),
              std::string::npos);
}

} // namespace
