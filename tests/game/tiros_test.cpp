#include "campo_pintado.hpp"
#include "game/fases.hpp"

#include <gtest/gtest.h>

using namespace game;
using teste::BRANCO;
using teste::Posicoes;
using teste::VERDE;
using teste::VERMELHO;

namespace {

// ---- Phase 11: the player's shots climb and look one cell further.

using Tiros = teste::CampoPintado;

TEST_F(Tiros, AShotClimbsOneRowAndIsShownThere) {
    poe(10, 20, TIRO);
    fotografa();
    fase_tiros(p);
    vazio(10, 20);
    mostra(10, 19, TIRO, BRANCO);
    EXPECT_EQ(mudancas(), (Posicoes{{10, 20}, {10, 19}}));
    sorteios_usados(0);
    branco_em_vigor();
}

TEST_F(Tiros, ShotsInRowsOneAndTwoAreGone) {
    poe(10, 2, TIRO);
    poe(11, 1, TIRO);
    poe(12, 3, TIRO);
    fase_tiros(p);
    vazio(10, 2);
    vazio(10, 1);
    vazio(11, 1);
    vazio(12, 3);
    mostra(12, 2, TIRO, BRANCO);
}

TEST_F(Tiros, TwoRowsBelowAShipItDestroysTheShipAndScores) {
    poe(10, 20, TIRO);
    poe(10, 18, NAVE);
    p.pontos = 100;
    sorteios({29});
    fotografa();
    fase_tiros(p);
    vazio(10, 18);
    vazio(10, 20);
    EXPECT_EQ(em(10, 19), VAZIO);
    EXPECT_EQ(p.pontos, 169);
    EXPECT_EQ(p.especial, 40);
    // The shot is never shown in the cell it passed through.
    EXPECT_EQ(mudancas(), (Posicoes{{10, 20}, {10, 18}}));
    sorteios_usados(1);
    branco_em_vigor();
}

TEST_F(Tiros, AShipHitScoresFortyAtLeast) {
    poe(10, 20, TIRO);
    poe(10, 18, NAVE);
    sorteios({30}); // 30 % 30
    fase_tiros(p);
    EXPECT_EQ(p.pontos, 40);
    EXPECT_EQ(p.especial, 40);
}

TEST_F(Tiros, DirectlyBelowAShipItTakesTheShipsPlaceWithoutScore) {
    poe(10, 20, TIRO);
    poe(10, 19, NAVE);
    fase_tiros(p);
    vazio(10, 20);
    mostra(10, 19, TIRO, BRANCO);
    EXPECT_EQ(p.pontos, 0);
    EXPECT_EQ(p.especial, 0);
    fase_tiros(p);
    mostra(10, 18, TIRO, BRANCO);
    sorteios_usados(0);
}

TEST_F(Tiros, AfterAShipHitTheLowerShotOfTheColumnWaits) {
    poe(10, 20, TIRO);
    poe(10, 25, TIRO);
    poe(10, 18, NAVE);
    poe(11, 30, TIRO);
    sorteios({0});
    fase_tiros(p);
    mostra(10, 25, TIRO, BRANCO);
    vazio(10, 24);
    vazio(11, 30);
    mostra(11, 29, TIRO, BRANCO); // the next column goes on
    fase_tiros(p);
    mostra(10, 24, TIRO, BRANCO);
}

TEST_F(Tiros, TwoRowsBelowAMeteorItDestroysTheMeteorAndScores) {
    poe(10, 20, TIRO);
    poe(10, 18, METEORO);
    sorteios({39}); // 39 % 20 = 19
    fotografa();
    fase_tiros(p);
    vazio(10, 18);
    vazio(10, 19);
    vazio(10, 20);
    EXPECT_EQ(p.pontos, 39);
    EXPECT_EQ(p.especial, 20);
    EXPECT_EQ(mudancas(), (Posicoes{{10, 20}, {10, 18}}));
    sorteios_usados(1);
}

TEST_F(Tiros, AnUnseenMeteorInRowTwoCanBeShot) {
    poe(10, 4, TIRO);
    esconde(10, 2, METEORO);
    sorteios({0});
    fase_tiros(p);
    EXPECT_EQ(em(10, 2), VAZIO);
    vazio(10, 3);
    EXPECT_EQ(p.pontos, 20);
}

TEST_F(Tiros, AMeteorInRowOneIsOutOfReach) {
    poe(10, 3, TIRO);
    esconde(10, 1, METEORO);
    fase_tiros(p);
    mostra(10, 2, TIRO, BRANCO);
    EXPECT_EQ(em(10, 1), METEORO);
    EXPECT_EQ(p.pontos, 0);
    sorteios_usados(0);
}

TEST_F(Tiros, WhatTheShotClimbsIntoIsReplacedWithoutScore) {
    poe(10, 20, TIRO);
    poe(10, 19, METEORO);
    poe(11, 20, TIRO);
    poe(11, 19, TIRO_INIMIGO);
    poe(12, 20, TIRO);
    poe(12, 19, VIDA);
    fase_tiros(p);
    for (int c = 10; c <= 12; ++c)
        mostra(c, 19, TIRO, BRANCO);
    EXPECT_EQ(p.pontos, 0);
    EXPECT_EQ(p.vidas, 4);
}

TEST_F(Tiros, ColumnFiftyNineIsNeverScannedButColumnOneIs) {
    esconde(59, 20, TIRO);
    poe(1, 20, TIRO);
    fase_tiros(p);
    EXPECT_EQ(em(59, 20), TIRO);
    EXPECT_EQ(em(59, 19), VAZIO);
    mostra(1, 19, TIRO, BRANCO);
}

// ---- Phase 12: the level rises past each stage's mark.

using AvancoNivel = teste::CampoPintado;

TEST_F(AvancoNivel, FiveThousandIsNotEnoughFiveThousandAndOneIs) {
    p.pontos = 5000;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '1');
    EXPECT_EQ(p.etapa, 1);
    p.pontos = 5001;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '2');
    EXPECT_EQ(p.etapa, 2);
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '2'); // once per stage
}

TEST_F(AvancoNivel, ALevelFourGameRisesThreeTimesPastTheLastLevel) {
    p.nivel = '4';
    p.pontos = 5001;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '5');
    p.pontos = 10000;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '5');
    p.pontos = 10001;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '6');
    p.pontos = 15001;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '7');
    EXPECT_EQ(p.etapa, 4);
    p.pontos = 29999;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '7');
}

TEST_F(AvancoNivel, EachTestSeesTheStageTheOneBeforeLeft) {
    p.pontos = 15001;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '4');
    EXPECT_EQ(p.etapa, 4);
}

TEST_F(AvancoNivel, BeforeTheFirstFrameNothingRises) {
    p.etapa = 0;
    p.pontos = 20000;
    fase_avanco_nivel(p);
    EXPECT_EQ(p.nivel, '1');
    EXPECT_EQ(p.etapa, 0);
}

TEST_F(AvancoNivel, AHitThatReachesFiveThousandAndOneRaisesTheLevelInTheSameFrame) {
    p.pontos = 4961;
    poe(10, 20, TIRO);
    poe(10, 18, NAVE);
    sorteios({0});
    fase_tiros(p);
    fase_avanco_nivel(p);
    EXPECT_EQ(p.pontos, 5001);
    EXPECT_EQ(p.nivel, '2');
}

// ---- Phase 13: the special shot climbs and detonates in row 8.

using Especiais = teste::CampoPintado;

TEST_F(Especiais, ClimbsOneRowAndShowsThere) {
    poe(10, 20, ESPECIAL);
    fotografa();
    fase_especiais(p);
    vazio(10, 20);
    mostra(10, 19, ESPECIAL, BRANCO);
    EXPECT_EQ(mudancas(), (Posicoes{{10, 20}, {10, 19}}));
    branco_em_vigor();
}

TEST_F(Especiais, WhatItFliesThroughIsGoneWithoutScore) {
    poe(10, 20, ESPECIAL);
    poe(10, 19, NAVE);
    fase_especiais(p);
    mostra(10, 19, ESPECIAL, BRANCO);
    EXPECT_EQ(p.pontos, 0);
    EXPECT_EQ(p.especial, 0);
}

TEST_F(Especiais, AboveRowEightItIsOnlyErased) {
    for (int r = 1; r <= 7; ++r)
        poe(10 + r, r, ESPECIAL);
    fase_especiais(p);
    for (int r = 1; r <= 7; ++r) {
        vazio(10 + r, r);
        vazio(10 + r, r - 1 > 0 ? r - 1 : 1);
    }
}

TEST_F(Especiais, InRowEightItDetonatesAndWipesTheFixedBlock) {
    for (int c = 5; c <= 49; ++c)
        for (int r = 8; r <= 17; ++r)
            poe(c, r, c % 2 ? NAVE : METEORO);
    poe(10, 8, ESPECIAL);
    poe(30, 12, VIDA);
    poe(31, 12, ESPECIAL); // wiped before the scan reaches it
    jogador_em(20, 15);
    // Around the block: untouched.
    poe(4, 10, NAVE);
    poe(50, 10, NAVE);
    poe(20, 18, METEORO);
    poe(20, 7, VIDA);
    p.pontos = 300;
    p.especial = 12;
    fase_especiais(p);
    for (int c = 5; c <= 49; ++c)
        for (int r = 8; r <= 17; ++r)
            vazio(c, r);
    // The burst blanks the shot's last cell too; the field keeps it there.
    EXPECT_EQ(em(10, 7), ESPECIAL);
    EXPECT_EQ(tela(10, 7), (console::Cell{' ', BRANCO}));
    EXPECT_EQ(tons(), (std::vector<std::pair<int, int>>{{100, 125}}));
    EXPECT_EQ(con.platform.sleeps(), std::vector<int>{50});
    EXPECT_EQ(em(31, 11), VAZIO);
    mostra(4, 10, NAVE, VERDE);
    mostra(50, 10, NAVE, VERDE);
    mostra(20, 18, METEORO, VERMELHO);
    mostra(20, 7, VIDA, BRANCO);
    EXPECT_EQ(p.jogadorx, 20); // the ship keeps its place, unseen
    EXPECT_EQ(p.jogadory, 15);
    EXPECT_EQ(p.pontos, 300);
    EXPECT_EQ(p.especial, 12);
    EXPECT_EQ(p.vidas, 4);
    sorteios_usados(0);
    branco_em_vigor();
}

TEST_F(Especiais, TheBurstOnlyBlanksTheScreenAboveTheBlock) {
    poe(9, 7, VIDA);
    poe(11, 7, NAVE);
    poe(12, 7, METEORO);
    poe(10, 8, ESPECIAL);
    fase_especiais(p);
    EXPECT_EQ(tela(9, 7).ch, ' ');
    EXPECT_EQ(em(9, 7), VIDA);
    EXPECT_EQ(tela(11, 7).ch, ' ');
    EXPECT_EQ(em(11, 7), NAVE);
    mostra(12, 7, METEORO, VERMELHO);
}

TEST_F(Especiais, TheBlockIsTheSameWhateverTheShotsColumn) {
    poe(55, 8, ESPECIAL);
    poe(5, 8, NAVE);
    poe(49, 17, NAVE);
    poe(52, 12, NAVE);
    fase_especiais(p);
    vazio(5, 8);
    vazio(49, 17);
    mostra(52, 12, NAVE, VERDE);
    EXPECT_EQ(em(55, 7), ESPECIAL);
}

TEST_F(Especiais, TheScanGoesOnBelowTheDetonation) {
    poe(10, 8, ESPECIAL);
    poe(10, 30, ESPECIAL);
    poe(12, 30, ESPECIAL);
    fase_especiais(p);
    vazio(10, 30);
    mostra(10, 29, ESPECIAL, BRANCO);
    mostra(12, 29, ESPECIAL, BRANCO);
}

TEST_F(Especiais, TheDetonatedShotIsGoneInTheNextFrame) {
    poe(10, 8, ESPECIAL);
    fase_especiais(p);
    poe(20, 10, NAVE);
    fase_especiais(p);
    vazio(10, 7);
    vazio(10, 6);
    mostra(20, 10, NAVE, VERDE); // no second detonation
}

TEST_F(Especiais, ColumnFiftyNineIsNeverScanned) {
    esconde(59, 20, ESPECIAL);
    fase_especiais(p);
    EXPECT_EQ(em(59, 20), ESPECIAL);
    EXPECT_EQ(em(59, 19), VAZIO);
}

} // namespace
