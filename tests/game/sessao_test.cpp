#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/desfecho.hpp"
#include "game/inicio.hpp"
#include "game/quadro.hpp"
#include "game/sessao.hpp"
#include "jogo_teste.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace jogo_teste;
using game::Fim;

// ---- The start-up of a game ----

using Inicio = Jogo;

TEST_F(Inicio, TheNamePromptIsGreenAndTheNameIsTypedRightAfterIt) {
    con.platform.push_key('1');
    // No name comes: the prompt stays waiting, as the player sees it.
    EXPECT_THROW(game::abertura(p), console::ScriptExhausted);
    EXPECT_EQ(texto(15, 22, 19), "Digite Seu Nome -> ");
    for (int c = 15; c < 34; ++c)
        EXPECT_EQ(tela(c, 22).attr, VERDE) << c;
    EXPECT_EQ(con.screen.cursor(), (console::Coord{33, 21}));
}

TEST_F(Inicio, StartsAFreshGameAndTakesTheNameAndAnyLevelKey) {
    p.pontos = 999;
    p.especial = 2000;
    p.etapa = 3;
    p.vidas = 0;
    p.tiros = 5;
    p.bipe = 1;
    p.opcao = '1';
    p.jogadorx = 12;
    p.campo.set(5, 5, game::NAVE);
    p.campo.set(79, 49, game::METEORO);
    std::strcpy(p.nome.data(), "Previous player");
    roteiro_inicio(con.platform, "Ana", '%');
    ASSERT_TRUE(game::abertura(p));

    EXPECT_STREQ(p.nome.data(), "Ana");
    EXPECT_EQ(p.nivel, '%');
    EXPECT_EQ(p.pontos, 0);
    EXPECT_EQ(p.especial, 0);
    EXPECT_EQ(p.etapa, 0);
    EXPECT_EQ(p.vidas, 1);
    EXPECT_EQ(p.tiros, 0);
    EXPECT_EQ(p.bipe, 0);
    EXPECT_EQ(p.opcao, 0);
    EXPECT_EQ(p.tecla, 0);
    EXPECT_EQ(p.jogadorx, 40);
    EXPECT_EQ(p.jogadory, 35);
    for (int c = 0; c < game::COLUNAS; ++c)
        for (int r = 0; r < game::LINHAS; ++r)
            ASSERT_EQ(p.campo.at(c, r), game::VAZIO) << c << "," << r;
    EXPECT_EQ(con.platform.keys_left(), 0u);
}

TEST_F(Inicio, TheLevelPromptEndsWithTheNameInGreen) {
    roteiro_inicio(con.platform, "Ana", '2');
    ASSERT_TRUE(game::abertura(p));
    EXPECT_EQ(texto(35, 25, 23), "Ana" + std::string(20, ' '));
    for (int c = 35; c <= 37; ++c)
        EXPECT_EQ(tela(c, 25).attr, VERDE) << c;
    branco_em_vigor();
}

TEST_F(Inicio, ANameTakesOnlyWhatItsPromptRowsHoldAndStillEditsThere) {
    con.platform.push_key('1');
    con.platform.push_keys(std::string(70, 'n'));
    EXPECT_THROW(game::abertura(p), console::ScriptExhausted);
    EXPECT_EQ(texto(34, 22, 47), std::string(46, 'n') + " ");
    EXPECT_EQ(con.screen.row_text(23), std::string(80, ' '));

    // At the limit a backspace still makes room and Enter still ends the line.
    roteiro_inicio(con.platform, std::string(70, 'n') + "\bz", '1');
    ASSERT_TRUE(game::abertura(p));
    const std::string nome = std::string(45, 'n') + "z";
    EXPECT_EQ(std::string(p.nome.data()), nome);
    EXPECT_EQ(texto(35, 25, 46), nome);
    EXPECT_EQ(texto(52, 23, 29), std::string(29, ' '));
    EXPECT_EQ(con.screen.row_text(26), std::string(80, ' '));
}

TEST_F(Inicio, LeavingAtTheTitleMenuEndsTheSession) {
    con.platform.push_keys("2Ana\r1");
    EXPECT_FALSE(game::abertura(p));
    EXPECT_EQ(con.platform.keys_left(), 5u);
    EXPECT_EQ(game::sessao(), 100);
}

TEST_F(Inicio, ThePlayScreenGetsTheLevelCodeThePlayerAndFiveUnseenShips) {
    roteiro_inicio(con.platform, "Ana", 'x');
    ASSERT_TRUE(game::abertura(p));
    // Row first, then column: (45, 4), (0, 5), (49, 6), (12, 2) twice.
    con.platform.script_rand({7, 45, 3, 0, 4, 49, 0, 12, 5, 12});
    game::monta_jogo(p);

    EXPECT_EQ(con.platform.last_seed(), static_cast<unsigned>(con.platform.time()));
    EXPECT_EQ(con.platform.scripted_draws_left(), 0u);
    EXPECT_EQ(texto(70, 7, 4), "120 ");
    for (int c = 70; c <= 72; ++c)
        EXPECT_EQ(tela(c, 7).attr, VERDE) << c;
    EXPECT_EQ(tela(40, 35), (console::Cell{game::JOGADOR, BRANCO}));
    EXPECT_EQ(p.campo.at(40, 35), game::JOGADOR);

    int naves = 0;
    for (int c = 0; c < game::COLUNAS; ++c)
        for (int r = 0; r < game::LINHAS; ++r)
            naves += p.campo.at(c, r) == game::NAVE ? 1 : 0;
    EXPECT_EQ(naves, 4);
    for (const auto& [c, r] : {std::pair{45, 4}, {0, 5}, {49, 6}, {12, 2}}) {
        EXPECT_EQ(p.campo.at(c, r), game::NAVE) << c << "," << r;
        if (c > 0) {
            EXPECT_NE(tela(c, r).ch, game::NAVE) << c << "," << r;
        }
    }
    branco_em_vigor();
}

// ---- One frame ----

struct Quadro : Jogo {
    void SetUp() override {
        console::clrscr();
        console::textbackground(0);
        console::textcolor(15);
        acalma(p);
        std::strcpy(p.nome.data(), "Ana");
    }
    Fim com_tecla(int code) {
        con.platform.push_key(code, con.platform.now_ms());
        return game::quadro(p);
    }
};

TEST_F(Quadro, AFrameWithoutAKeyEndsAtTheKeyboardSoTheToneFlagAndTheCompletionWait) {
    p.bipe = 1;
    p.pontos = 30000;
    EXPECT_EQ(game::quadro(p), Fim::continua);
    EXPECT_EQ(game::quadro(p), Fim::continua);
    EXPECT_EQ(p.bipe, 1);
    EXPECT_EQ(com_tecla('z'), Fim::completo);
}

TEST_F(Quadro, AFrameThatReadsAKeyClearsTheToneFlag) {
    p.bipe = 1;
    p.pontos = 29999;
    EXPECT_EQ(com_tecla('z'), Fim::continua);
    EXPECT_EQ(p.bipe, 0);
}

TEST_F(Quadro, TheFrameAfterEscDrawsSleepsAndDrawsNothing) {
    p.bipe = 1;
    EXPECT_EQ(com_tecla(ESC), Fim::continua);
    EXPECT_EQ(p.bipe, 0); // the frame that read ESC still ran to its end
    const auto tela_antes = con.screen.version();
    const auto sorteios = con.platform.rand_calls();
    const auto dormidas = con.platform.sleeps().size();
    const auto tons = con.platform.tones().size();
    EXPECT_EQ(game::quadro(p), Fim::esc);
    EXPECT_EQ(con.screen.version(), tela_antes);
    EXPECT_EQ(con.platform.rand_calls(), sorteios);
    EXPECT_EQ(con.platform.sleeps().size(), dormidas);
    EXPECT_EQ(con.platform.tones().size(), tons);
}

TEST_F(Quadro, EscAndTheWinningScoreInOneFrameComplete) {
    p.pontos = 30000;
    EXPECT_EQ(com_tecla(ESC), Fim::completo);
}

TEST_F(Quadro, TheStatusIsPrintedBeforeTheKeyIsRead) {
    p.especial = 951;
    EXPECT_EQ(com_tecla('b'), Fim::continua);
    EXPECT_EQ(p.pontos, 250);
    EXPECT_EQ(texto(71, 11, 2), "0 ");
    game::quadro(p);
    EXPECT_EQ(texto(71, 11, 4), "250 ");
    EXPECT_EQ(texto(72, 5, 2), "3 ");
    EXPECT_EQ(texto(69, 3, 4), "Ana ");
    branco_em_vigor();
}

TEST_F(Quadro, TheDelayComesBeforeTheKeyboard) {
    con.platform.push_key('z', 40);
    con.platform.push_key('y', 81);
    EXPECT_EQ(game::quadro(p), Fim::continua);
    EXPECT_EQ(p.tecla, 'z');
    EXPECT_EQ(game::quadro(p), Fim::continua);
    EXPECT_EQ(p.tecla, 'z'); // 'y' arrives just after the second delay
    EXPECT_EQ(con.platform.sleeps(), (std::vector<int>{40, 40}));
}

TEST_F(Quadro, EveryFrameTakesTheParametersOfTheLevelItHasNow) {
    game::quadro(p);
    p.nivel = '3';
    game::quadro(p);
    p.nivel = '5'; // past the table: the last row stays
    game::quadro(p);
    EXPECT_EQ(con.platform.sleeps(), (std::vector<int>{40, 70, 70}));
}

// ---- The end of a game ----

struct Desfecho : Jogo {
    void SetUp() override {
        roteiro_inicio(con.platform, "Ana", '1');
        ASSERT_TRUE(game::inicio(p));
        acalma(p);
    }
};

TEST_F(Desfecho, GameOverShowsTheNameWaitsThreeSecondsAndTakesAKeyTypedMeanwhile) {
    p.pontos = 1234;
    const auto inicio = con.platform.now_ms();
    con.platform.push_key('1', inicio + 1500);
    EXPECT_TRUE(game::fim_gameover(p));
    EXPECT_EQ(p.opcao, '1');
    EXPECT_EQ(con.platform.now_ms() - inicio, 3000);
    EXPECT_EQ(texto(33, 21, 4), "Ana ");
    EXPECT_EQ(tela(33, 21).attr, VERDE);
    branco_em_vigor();
}

TEST_F(Desfecho, GameOverShowsNoMoreOfTheNameThanItsBoxHolds) {
    const std::string nome(46, 'n');
    std::strcpy(p.nome.data(), nome.c_str());
    con.platform.push_key('2');
    game::fim_gameover(p);
    EXPECT_EQ(texto(33, 21, 27), nome.substr(0, 27));
    EXPECT_EQ(tela(60, 21).ch, 186);
    EXPECT_EQ(texto(61, 21, 20), std::string(20, ' '));
}

TEST_F(Desfecho, GameOverTakesAKeyLeftFromPlayAndOnlyOnePlaysAgain) {
    for (const int key : {int{'2'}, int{'x'}, ESC, 224, int{'1'}}) {
        con.platform.push_key(key);
        EXPECT_EQ(game::fim_gameover(p), key == '1') << key;
        EXPECT_EQ(p.opcao, key);
    }
}

struct Resposta {
    const char* linha;
    int opcao;
    bool de_novo;
};

struct Zerado : Desfecho, ::testing::WithParamInterface<Resposta> {};

TEST_P(Zerado, TheAnswerIsReadAsANumberAndTheRestOfTheLineIsDropped) {
    const Resposta r = GetParam();
    p.pontos = 30000;
    con.platform.push_key('z', con.platform.now_ms());
    con.platform.push_keys(r.linha, con.platform.now_ms());
    con.platform.push_key('\r', con.platform.now_ms());
    roteiro_inicio(con.platform, "Bob", '3', con.platform.now_ms());
    con.platform.clear_logs();

    EXPECT_EQ(game::joga(p), r.de_novo);
    EXPECT_EQ(p.opcao, r.opcao);
    ASSERT_GE(con.platform.sleeps().size(), 2u);
    EXPECT_EQ(con.platform.sleeps()[0], 40);
    EXPECT_EQ(con.platform.sleeps()[1], 5000);
    EXPECT_EQ(texto(28, 45, 10), "OPCAO --> ");
    EXPECT_EQ(texto(38, 45, std::strlen(r.linha) + 1), std::string(r.linha) + " ");
    for (int c = 28; c < 38 + static_cast<int>(std::strlen(r.linha)); ++c)
        EXPECT_EQ(tela(c, 45).attr, VERDE) << c;
    branco_em_vigor();

    if (!r.de_novo)
        return;
    // The next game's name prompt waits for a line of its own.
    ASSERT_TRUE(game::inicio(p));
    EXPECT_STREQ(p.nome.data(), "Bob");
    EXPECT_EQ(p.nivel, '3');
    EXPECT_EQ(p.pontos, 0);
}

INSTANTIATE_TEST_SUITE_P(Respostas, Zerado,
                         ::testing::Values(Resposta{"1abc", 1, true}, Resposta{"0x1", 1, true},
                                           Resposta{"01", 1, true}, Resposta{"", 0, false},
                                           Resposta{"2", 2, false}, Resposta{"abc1", 0, false},
                                           Resposta{"  1", 1, true}, Resposta{"11", 11, false}));

TEST_F(Desfecho, EscInTheWinningFrameShowsTheCompletionScreen) {
    p.pontos = 30500;
    con.platform.push_key(ESC, con.platform.now_ms());
    con.platform.push_keys("2\r", con.platform.now_ms());
    EXPECT_FALSE(game::joga(p));
    EXPECT_EQ(texto(28, 45, 10), "OPCAO --> ");
    EXPECT_EQ(p.opcao, 2);
    EXPECT_EQ(con.platform.keys_left(), 0u);
}

TEST_F(Desfecho, TheLastLifeLostInTheFrameThatReadsEscShowsGameOver) {
    p.vidas = 1;
    p.campo.set(p.jogadorx, p.jogadory - 1, game::METEORO);
    con.platform.push_key(ESC, con.platform.now_ms());
    con.platform.push_key('2', con.platform.now_ms());
    EXPECT_FALSE(game::joga(p));
    EXPECT_EQ(p.vidas, 0);
    EXPECT_EQ(p.opcao, '2');
    EXPECT_EQ(quantas_vezes_dormiu(3000), 1);
    EXPECT_EQ(texto(33, 21, 4), "Ana ");
}

struct Registro : game::Observador {
    int comecos = 0;
    std::vector<game::Resultado> fins;
    void partida_comeca() override { ++comecos; }
    void partida_termina(const game::Resultado& r) override { fins.push_back(r); }
};

TEST_F(Desfecho, EachGameIsToldOnceHowItEndedEvenWhenTheSessionIsCutShort) {
    Registro registro;
    p.pontos = 30500;
    con.platform.push_key('z', con.platform.now_ms());
    con.platform.push_keys("2\r", con.platform.now_ms());
    EXPECT_FALSE(game::joga(p, registro));
    ASSERT_EQ(registro.fins.size(), 1u);
    EXPECT_EQ(registro.fins[0].nome, "Ana");
    EXPECT_EQ(registro.fins[0].nivel_inicial, '9');
    EXPECT_EQ(registro.fins[0].pontos, 30500);
    EXPECT_EQ(registro.fins[0].desfecho, game::Desfecho::venceu);

    // A wait that never ends (a signal, in the real program) unwinds play.
    p.pontos = 70;
    con.platform.set_time_limit_ms(con.platform.now_ms() + 500);
    EXPECT_THROW(game::joga(p, registro), console::ScriptExhausted);
    ASSERT_EQ(registro.fins.size(), 2u);
    EXPECT_EQ(registro.fins[1].pontos, 70);
    EXPECT_EQ(registro.fins[1].vidas, 3);
    EXPECT_EQ(registro.fins[1].desfecho, game::Desfecho::saiu);
    EXPECT_EQ(registro.comecos, 0);
}

// ---- Whole sessions ----

using Sessao = Jogo;

TEST_F(Sessao, EscEndsTheSessionAtTheNextFrameWithThePlayScreenStillShown) {
    roteiro_inicio(con.platform, "Ana", '1');
    con.platform.push_key(ESC);
    Registro registro;
    EXPECT_EQ(game::sessao(registro), 100);
    EXPECT_EQ(registro.comecos, 1);
    ASSERT_EQ(registro.fins.size(), 1u);
    EXPECT_EQ(registro.fins[0].desfecho, game::Desfecho::saiu);
    EXPECT_EQ(con.platform.keys_left(), 0u);
    EXPECT_EQ(quantas_vezes_dormiu(40), 1); // one frame's delay: the second frame stopped early
    EXPECT_EQ(tela(40, 35), (console::Cell{game::JOGADOR, BRANCO}));
    EXPECT_EQ(texto(69, 3, 4), "Ana ");
    EXPECT_EQ(texto(71, 11, 2), "0 ");
    EXPECT_EQ(tela(71, 11).attr, VERDE);
    EXPECT_FALSE(tela_mostra("OPCAO"));
    EXPECT_FALSE(tela_mostra("GAME OVER"));
    EXPECT_FALSE(tela_mostra("Ate O Proximo Jogo"));
}

struct VidasIniciais : Jogo, ::testing::WithParamInterface<std::pair<int, const char*>> {};

TEST_P(VidasIniciais, TheFirstFrameShowsTheLevelsLives) {
    const auto [nivel, vidas] = GetParam();
    roteiro_inicio(con.platform, "Ana", nivel);
    con.platform.push_key(ESC);
    EXPECT_EQ(game::sessao(), 100);
    EXPECT_EQ(texto(72, 5, 2), vidas);
    EXPECT_EQ(tela(72, 5).attr, VERDE);
}

INSTANTIATE_TEST_SUITE_P(Niveis, VidasIniciais,
                         ::testing::Values(std::pair{'1', "4 "}, std::pair{'2', "3 "},
                                           std::pair{'3', "2 "}, std::pair{'4', "1 "},
                                           std::pair{'x', "1 "}));

TEST_F(Sessao, ALevelKeyOutsideTheTableStaysShownAsItsCode) {
    roteiro_inicio(con.platform, "Ana", 'x');
    con.platform.push_keys("zzzzz");
    con.platform.push_key(ESC);
    EXPECT_EQ(game::sessao(), 100);
    EXPECT_EQ(con.platform.keys_left(), 0u);
    EXPECT_EQ(texto(70, 7, 4), "120 ");
    EXPECT_EQ(tela(70, 7).attr, VERDE);
    EXPECT_EQ(quantas_vezes_dormiu(0), 6); // the delay of a level without a row
}

TEST_F(Sessao, AfterGameOverTheAnswerOneStartsAFreshGameFromTheTitle) {
    // Nothing is pressed in play, so the ship stands still until it is hit:
    // the game this clock seeds loses its one life within a few minutes. The
    // answer and the next game's keys wait well beyond that.
    con.platform.set_time(1'700'000'000);
    constexpr std::int64_t depois = 20LL * 60 * 1000;
    roteiro_inicio(con.platform, "Ana", '4');
    con.platform.push_key('1', depois);
    roteiro_inicio(con.platform, "Bob", '1', depois);
    con.platform.push_key(ESC, depois);
    EXPECT_EQ(game::sessao(), 100);

    EXPECT_EQ(quantas_vezes_dormiu(3000), 1);
    EXPECT_EQ(con.platform.keys_left(), 0u);
    // The second game: its own name, its level's lives, a zero score and the
    // ship where every game starts.
    EXPECT_EQ(texto(69, 3, 4), "Bob ");
    EXPECT_EQ(texto(72, 5, 2), "4 ");
    EXPECT_EQ(texto(71, 11, 2), "0 ");
    EXPECT_EQ(tela(40, 35), (console::Cell{game::JOGADOR, BRANCO}));
}

} // namespace
