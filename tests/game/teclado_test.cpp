#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/fases.hpp"
#include "jogo_teste.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace jogo_teste;
using game::JOGADOR;
using game::VAZIO;

struct Teclado : Jogo {
    void SetUp() override {
        console::clrscr();
        console::textbackground(0);
        console::textcolor(15);
        coloca_jogador(40, 35);
    }
    void coloca_jogador(int x, int y) {
        p.campo.set(p.jogadorx, p.jogadory, VAZIO);
        p.jogadorx = x;
        p.jogadory = y;
        p.campo.set(x, y, JOGADOR);
        console::gotoxy(x, y);
        console::printf("%c", int{JOGADOR});
    }
    void aperta(int code) {
        con.platform.push_key(code);
        ASSERT_TRUE(game::fase_teclado(p));
        EXPECT_EQ(p.tecla, code);
    }
    void jogador_esta_em(int x, int y) const {
        EXPECT_EQ(p.jogadorx, x);
        EXPECT_EQ(p.jogadory, y);
        EXPECT_EQ(p.campo.at(x, y), JOGADOR);
        EXPECT_EQ(tela(x, y), (console::Cell{JOGADOR, BRANCO}));
    }
    int tiros_soados() const {
        int n = 0;
        for (const auto& t : con.platform.tones())
            n += (t.hz == 114 && t.ms == 48) ? 1 : 0;
        return n;
    }
};

TEST_F(Teclado, WithoutAWaitingKeyNothingIsReadAndTheKeyOfBeforeStays) {
    p.tecla = 'w';
    EXPECT_FALSE(game::fase_teclado(p));
    EXPECT_EQ(p.tecla, 'w');
    jogador_esta_em(40, 35);
    // A key that has not arrived yet is not waited for.
    con.platform.push_key('a', 500);
    EXPECT_FALSE(game::fase_teclado(p));
    EXPECT_EQ(con.platform.keys_left(), 1u);
}

TEST_F(Teclado, EachMoveKeyMovesOneCellAndErasesTheOldGlyph) {
    const struct {
        int key;
        int x, y;
    } moves[] = {{'a', 39, 35}, {'A', 38, 35}, {'d', 39, 35}, {'D', 40, 35},
                 {'s', 40, 36}, {'S', 40, 37}, {'w', 40, 36}, {'W', 40, 35}};
    int x = 40, y = 35;
    for (const auto& m : moves) {
        SCOPED_TRACE(std::string(1, static_cast<char>(m.key)));
        aperta(m.key);
        jogador_esta_em(m.x, m.y);
        EXPECT_EQ(p.campo.at(x, y), VAZIO);
        EXPECT_EQ(tela(x, y), (console::Cell{' ', BRANCO}));
        x = m.x;
        y = m.y;
    }
    branco_em_vigor();
}

TEST_F(Teclado, TheShipStopsAtColumnsTwoAndFiftyNineAndRowsFourAndFortyEight) {
    const struct {
        int x, y, key;
    } edges[] = {{2, 20, 'a'}, {2, 20, 'A'}, {59, 20, 'd'}, {59, 20, 'D'},
                 {30, 4, 'w'}, {30, 4, 'W'}, {30, 48, 's'}, {30, 48, 'S'}};
    for (const auto& e : edges) {
        SCOPED_TRACE(std::string(1, static_cast<char>(e.key)));
        coloca_jogador(e.x, e.y);
        p.tiros = 6;
        const auto antes = con.screen.version();
        aperta(e.key);
        jogador_esta_em(e.x, e.y);
        EXPECT_EQ(p.tiros, 6); // a refused move gives no shots back
        EXPECT_EQ(con.screen.version(), antes);
    }
    // One cell short of each edge the move is still made.
    coloca_jogador(3, 20);
    aperta('a');
    jogador_esta_em(2, 20);
    coloca_jogador(58, 20);
    aperta('d');
    jogador_esta_em(59, 20);
    coloca_jogador(30, 5);
    aperta('w');
    jogador_esta_em(30, 4);
    coloca_jogador(30, 47);
    aperta('s');
    jogador_esta_em(30, 48);
}

TEST_F(Teclado, AShotGoesIntoTheCellAboveWithItsToneAndIsNotDrawnYet) {
    const auto antes = con.screen.version();
    aperta(' ');
    EXPECT_EQ(p.campo.at(40, 34), game::TIRO);
    EXPECT_EQ(p.tiros, 1);
    ASSERT_EQ(con.platform.tones().size(), 1u);
    EXPECT_EQ(con.platform.tones()[0].hz, 114);
    EXPECT_EQ(con.platform.tones()[0].ms, 48);
    EXPECT_EQ(con.screen.version(), antes);
}

TEST_F(Teclado, SevenSpacesFireSixAndOnlyLeftRightOrUpGiveTheShotsBack) {
    for (int i = 0; i < 7; ++i)
        aperta(' ');
    EXPECT_EQ(tiros_soados(), 6);
    EXPECT_EQ(p.tiros, 6);

    aperta('s');
    aperta(' ');
    EXPECT_EQ(tiros_soados(), 6);
    EXPECT_EQ(p.campo.at(40, 35), VAZIO); // nothing above the moved ship

    for (const int move : {'a', 'd', 'w'}) {
        SCOPED_TRACE(std::string(1, static_cast<char>(move)));
        p.tiros = 6;
        const int antes = tiros_soados();
        aperta(move);
        EXPECT_EQ(p.tiros, 0);
        aperta(' ');
        EXPECT_EQ(tiros_soados(), antes + 1);
        EXPECT_EQ(p.campo.at(p.jogadorx, p.jogadory - 1), game::TIRO);
    }
}

TEST_F(Teclado, TheSpecialShotNeedsACharged951) {
    p.especial = 950;
    p.pontos = 1000;
    aperta('b');
    aperta('B');
    EXPECT_EQ(p.especial, 950);
    EXPECT_EQ(p.pontos, 1000);
    EXPECT_EQ(p.campo.at(40, 34), VAZIO);

    for (const int key : {'b', 'B'}) {
        SCOPED_TRACE(std::string(1, static_cast<char>(key)));
        p.especial = 951;
        p.campo.set(40, 34, VAZIO);
        const auto antes = con.screen.version();
        const int pontos = p.pontos;
        aperta(key);
        EXPECT_EQ(p.especial, 0);
        EXPECT_EQ(p.pontos, pontos + 250);
        EXPECT_EQ(p.campo.at(40, 34), game::ESPECIAL);
        EXPECT_EQ(con.screen.version(), antes); // drawn by its own phase
    }
    EXPECT_TRUE(con.platform.tones().empty());
    EXPECT_EQ(p.tiros, 0);
}

TEST_F(Teclado, MovingOntoAnObjectReplacesItWithoutEffect) {
    for (const auto objeto : {game::VIDA, game::METEORO, game::NAVE, game::TIRO_INIMIGO}) {
        SCOPED_TRACE(int{objeto});
        coloca_jogador(20, 20);
        p.campo.set(21, 20, objeto);
        p.vidas = 2;
        p.pontos = 0;
        aperta('d');
        jogador_esta_em(21, 20);
        EXPECT_EQ(p.vidas, 2);
        EXPECT_EQ(p.pontos, 0);
    }
    EXPECT_TRUE(con.platform.tones().empty());
}

TEST_F(Teclado, FiringOverAnObjectReplacesIt) {
    p.campo.set(40, 34, game::METEORO);
    aperta(' ');
    EXPECT_EQ(p.campo.at(40, 34), game::TIRO);
    p.campo.set(40, 34, game::TIRO_INIMIGO);
    p.especial = 2000;
    aperta('b');
    EXPECT_EQ(p.campo.at(40, 34), game::ESPECIAL);
    EXPECT_EQ(p.pontos, 250);
}

TEST_F(Teclado, PauseShowsItsWordInRedAndWaitsAtTheNextRow) {
    con.platform.push_key('p');
    // No key to resume with: the wait throws, and the screen shows the pause.
    EXPECT_THROW(game::fase_teclado(p), console::ScriptExhausted);
    EXPECT_EQ(texto(71, 16, 8), "PAUSE   ");
    for (int c = 71; c <= 78; ++c)
        EXPECT_EQ(tela(c, 16).attr, VERMELHO) << c;
    EXPECT_EQ(con.screen.cursor(), (console::Coord{70, 16}));
    branco_em_vigor();
}

TEST_F(Teclado, AnyKeyResumesEscIncludedAndTheStatusIsPlayingAgain) {
    for (const int resume : {ESC, int{'w'}, int{'p'}}) {
        SCOPED_TRACE(resume);
        con.platform.push_key('p');
        con.platform.push_key(resume);
        ASSERT_TRUE(game::fase_teclado(p));
        EXPECT_EQ(p.tecla, 'p'); // the resuming key is swallowed
        EXPECT_EQ(con.platform.keys_left(), 0u);
        EXPECT_EQ(texto(71, 16, 8), "JOGANDO ");
        for (int c = 71; c <= 77; ++c)
            EXPECT_EQ(tela(c, 16).attr, VERDE) << c;
        jogador_esta_em(40, 35);
        branco_em_vigor();
    }
}

TEST_F(Teclado, UpperCasePDoesNotPauseSoTheDownArrowCannot) {
    // A pause would wait for a key that the script does not have.
    aperta(224);
    aperta('P');
    EXPECT_FALSE(tela_mostra("PAUSE"));
    jogador_esta_em(40, 35);
}

TEST_F(Teclado, OtherKeysAndEscOnlyLandInTecla) {
    const auto antes = con.screen.version();
    for (const int key : {ESC, int{'x'}, int{'1'}, 13, 0, 224, int{'K'}}) {
        aperta(key);
        jogador_esta_em(40, 35);
    }
    EXPECT_EQ(con.screen.version(), antes);
    EXPECT_TRUE(con.platform.tones().empty());
    EXPECT_EQ(p.campo.at(40, 34), VAZIO);
}

} // namespace
