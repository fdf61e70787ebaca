// Whole frames on a field set up cell by cell, with every draw scripted, where
// one phase acts on what another left: what the player sees pins their order.
#include "campo_pintado.hpp"
#include "game/quadro.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

using namespace game;
using teste::BRANCO;
using teste::VERDE;
using teste::VERMELHO;

namespace {

// A draw that passes no gate of a calm frame and moves no ship.
constexpr int NADA = 99;

struct OrdemDoQuadro : teste::CampoPintado {
    OrdemDoQuadro() {
        std::strcpy(p.nome.data(), "Ana");
        p.nivel = '9'; // no row of the table: these parameters stay
        // Nothing appears, falls or advances unless a test sets its gate to -1.
        p.parametros = NivelParametros{199, 99, 99, 99, 40};
    }
    // The draws of a frame with no ship: the extra life, the meteor spawn
    // and fall, then, after any hits, the enemy shots, the ship spawn and fire.
    void calmo() { sorteios({NADA, NADA, NADA, NADA, NADA, NADA}); }
};

struct Cai : OrdemDoQuadro, ::testing::WithParamInterface<std::uint8_t> {};

// The frame gives the player no key to dodge with, so the hit must wait.
TEST_P(Cai, WhatFallsOntoTheShipHitsOnlyInTheNextFrame) {
    const std::uint8_t code = GetParam();
    p.parametros.limiarqueda = -1;
    p.parametros.limiartiroinimigo = -1;
    jogador_em(20, 30);
    poe(20, 28, code);
    calmo();
    EXPECT_EQ(quadro(p), Fim::continua);
    mostra(20, 29, code, screens::cor_de(code));
    mostra(20, 30, JOGADOR, BRANCO);
    EXPECT_EQ(texto(72, 5, 2), "4 ");

    calmo();
    quadro(p);
    vazio(20, 29);
    vazio(20, 30);
    mostra(35, 45, JOGADOR, BRANCO);
    EXPECT_EQ(texto(72, 5, 2), "3 "); // the lives shown after the hit
    sorteios_usados(12);
}

INSTANTIATE_TEST_SUITE_P(MeteoroETiro, Cai, ::testing::Values(METEORO, TIRO_INIMIGO));

TEST_F(OrdemDoQuadro, ALifeThatAppearsBesideTheShipIsTakenInTheNextFrame) {
    jogador_em(20, 30);
    sorteios({0, 18, 27, NADA, NADA, NADA, NADA, NADA}); // a life at (21, 30)
    quadro(p);
    mostra(21, 30, VIDA, BRANCO);
    EXPECT_EQ(p.vidas, 4);
    calmo();
    quadro(p);
    vazio(21, 30);
    EXPECT_EQ(texto(72, 5, 2), "5 ");
}

TEST_F(OrdemDoQuadro, TheScoreAndChargeOfAHitShowFromTheNextFrame) {
    p.especial = 980;
    poe(30, 10, NAVE);
    poe(30, 12, TIRO);
    sorteios({NADA, NADA, NADA, 9, NADA, NADA, NADA});
    quadro(p);
    EXPECT_EQ(p.pontos, 49);
    EXPECT_EQ(texto(71, 11, 2), "0 ");
    EXPECT_EQ(tela(78, 9), (console::Cell{1, VERMELHO}));
    calmo();
    quadro(p);
    EXPECT_EQ(texto(71, 11, 3), "49 ");
    EXPECT_EQ(tela(78, 9), (console::Cell{1, VERDE}));
}

TEST_F(OrdemDoQuadro, AScoreThatPassesAStageShowsTheNextLevelInTheNextFrame) {
    p.nivel = '1';
    p.pontos = 4990;
    poe(30, 10, NAVE);
    poe(30, 12, TIRO);
    // Level 1's gates all closed; the hit scores 69.
    sorteios({399, 0, 0, 29, 0, 0, 499});
    quadro(p);
    sorteios({399, 0, 0, 0, 0, 499});
    quadro(p);
    EXPECT_EQ(texto(70, 7, 2), "2 ");
    EXPECT_EQ(con.platform.sleeps(), (std::vector<int>{40, 50}));
    sorteios_usados(13);
}

TEST_F(OrdemDoQuadro, ANewMeteorShowsWhereItFellInTheFrameItCameIn) {
    p.parametros.limiarmeteoro = -1;
    p.parametros.limiarqueda = -1;
    sorteios({NADA, 0, 4, 30, NADA, NADA, NADA, NADA}); // spawned at (30, 4)
    quadro(p);
    mostra(30, 5, METEORO, VERMELHO);
    EXPECT_EQ(em(30, 4), VAZIO);
}

TEST_F(OrdemDoQuadro, ANewShipIsPaintedInTheFrameItCameIn) {
    p.parametros.limiarnave = -1;
    sorteios({NADA, NADA, NADA, NADA, 0, 29, 5, NADA, NADA}); // at (30, 6), stays
    quadro(p);
    mostra(30, 6, NAVE, VERDE);
}

TEST_F(OrdemDoQuadro, APlayerShotMeetsWhatFellInTheSameFrame) {
    p.parametros.limiarqueda = -1;
    p.parametros.limiartiroinimigo = -1;
    // A meteor falls into the cell beyond a shot and is hit; an enemy shot
    // falls onto a shot that has climbed and replaces it.
    poe(30, 11, METEORO);
    poe(30, 14, TIRO);
    poe(40, 12, TIRO_INIMIGO);
    poe(40, 14, TIRO);
    sorteios({NADA, NADA, NADA, 5, NADA, NADA, NADA});
    quadro(p);
    EXPECT_EQ(p.pontos, 25);
    for (int r = 11; r <= 14; ++r)
        vazio(30, r);
    mostra(40, 13, TIRO_INIMIGO, screens::AMARELO);
    vazio(40, 14);
}

TEST_F(OrdemDoQuadro, TheBlastWipesWhatMovedIntoItAndSparesWhatLeftIt) {
    p.parametros.limiarqueda = -1;
    p.parametros.limiartiroinimigo = -1;
    esconde(20, 8, ESPECIAL); // detonates in this frame
    poe(30, 18, TIRO);        // climbs into the block
    poe(32, 17, METEORO);     // falls out of it
    poe(34, 7, TIRO_INIMIGO); // falls into it after the wipe
    calmo();
    quadro(p);
    vazio(30, 17);
    vazio(30, 18);
    mostra(32, 18, METEORO, VERMELHO);
    mostra(34, 8, TIRO_INIMIGO, screens::AMARELO);
}

TEST_F(OrdemDoQuadro, ShipsFireFromWhereTheyMovedAndTheShotFallsFromTheNextFrame) {
    p.parametros.limiartiroinimigo = -1;
    poe(30, 10, NAVE);
    // Down a row, then stays; the fire's gate opens and the ship fires.
    sorteios({NADA, NADA, NADA, NADA, NADA, 2, NADA, 0, 99});
    quadro(p);
    mostra(30, 11, NAVE, BRANCO);
    EXPECT_EQ(em(30, 12), TIRO_INIMIGO);
    EXPECT_EQ(tela(30, 12).ch, ' ');
    sorteios({NADA, NADA, NADA, NADA, NADA, NADA, NADA});
    quadro(p);
    mostra(30, 13, TIRO_INIMIGO, screens::AMARELO);
}

// The platform's delay, with a look at the screen as it starts: what the
// player sees for the length of it.
struct RelogioEspiao : console::MemoryPlatform {
    std::function<void()> ao_dormir;
    void sleep(int ms) override {
        if (ao_dormir)
            ao_dormir();
        MemoryPlatform::sleep(ms);
    }
};

TEST_F(OrdemDoQuadro, ShipsShowRepaintedDuringTheDelayAndMoveAfterIt) {
    RelogioEspiao relogio;
    const console::Installation espiao(con.screen, relogio);
    console::textcolor(BRANCO);
    poe(30, 10, NAVE);
    pinta(30, 10, NAVE, BRANCO); // as a ship shows right after a move
    // Right a column, then stays.
    relogio.script_rand({NADA, NADA, NADA, NADA, NADA, 0, NADA, NADA});
    std::vector<console::Cell> na_pausa;
    relogio.ao_dormir = [&] { na_pausa = {tela(30, 10), tela(31, 10)}; };
    quadro(p);
    EXPECT_EQ(na_pausa, (std::vector<console::Cell>{{NAVE, static_cast<std::uint16_t>(VERDE)},
                                                    {' ', BRANCO}}));
    vazio(30, 10);
    mostra(31, 10, NAVE, BRANCO);
    EXPECT_EQ(relogio.scripted_draws_left(), 0u);
}

} // namespace
