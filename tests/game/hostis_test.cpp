#include "campo_pintado.hpp"
#include "game/fases.hpp"

#include <gtest/gtest.h>

using namespace game;
using teste::AMARELO;
using teste::BRANCO;
using teste::Posicoes;
using teste::VERDE;
using teste::VERMELHO;

namespace {

// ---- Phase 5: pick-ups beside the ship, hits from straight above.

using Contatos = teste::CampoPintado;

TEST_F(Contatos, FourPickUpsAroundTheShipGiveFourLives) {
    jogador_em(20, 30);
    poe(21, 30, VIDA);
    poe(19, 30, VIDA);
    poe(20, 31, VIDA);
    poe(20, 29, VIDA);
    poe(21, 31, VIDA); // diagonal: not a neighbour
    fotografa();
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 8);
    for (auto [c, r] : Posicoes{{21, 30}, {19, 30}, {20, 31}, {20, 29}})
        vazio(c, r);
    mostra(21, 31, VIDA, BRANCO);
    mostra(20, 30, JOGADOR, BRANCO);
    EXPECT_EQ(mudancas(), (Posicoes{{21, 30}, {19, 30}, {20, 31}, {20, 29}}));
    EXPECT_EQ(tons(), teste::pega_vida(4));
    EXPECT_EQ(con.platform.now_ms(), 4 * 290);
    sorteios_usados(0);
    branco_em_vigor();
}

TEST_F(Contatos, AMeteorAboveCostsALifeAndSendsTheShipToItsRestartCell) {
    jogador_em(20, 30);
    poe(20, 29, METEORO);
    poe(35, 45, NAVE); // whatever the restart cell held
    fotografa();
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 3);
    EXPECT_EQ(p.jogadorx, 35);
    EXPECT_EQ(p.jogadory, 45);
    vazio(20, 29);
    vazio(20, 30);
    mostra(35, 45, JOGADOR, BRANCO);
    EXPECT_EQ(mudancas(), (Posicoes{{20, 29}, {20, 30}, {35, 45}}));
    EXPECT_EQ(tons(), teste::perde_vida(1));
    EXPECT_EQ(con.platform.now_ms(), 140);
    branco_em_vigor();
}

TEST_F(Contatos, AMeteorAboveTheRestartCellLeavesTheShipThere) {
    jogador_em(35, 45);
    poe(35, 44, METEORO);
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 3);
    vazio(35, 44);
    mostra(35, 45, JOGADOR, BRANCO);
}

TEST_F(Contatos, MeteorThenEnemyShotAboveTheRestartCellCostTwoLives) {
    jogador_em(20, 30);
    poe(20, 29, METEORO);
    poe(35, 44, TIRO_INIMIGO);
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 2);
    EXPECT_EQ(tons(), teste::perde_vida(2));
    vazio(20, 29);
    vazio(20, 30);
    vazio(35, 44);
    mostra(35, 45, JOGADOR, BRANCO);
}

TEST_F(Contatos, AnEnemyShotAboveHitsLikeAMeteor) {
    jogador_em(10, 20);
    poe(10, 19, TIRO_INIMIGO);
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 3);
    vazio(10, 19);
    vazio(10, 20);
    mostra(35, 45, JOGADOR, BRANCO);
}

TEST_F(Contatos, AnUnseenMeteorInRowThreeHitsTheShipInRowFour) {
    jogador_em(10, 4);
    esconde(10, 3, METEORO);
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 3);
    EXPECT_EQ(em(10, 3), VAZIO);
    EXPECT_EQ(p.jogadory, 45);
}

TEST_F(Contatos, NothingBesideOrBelowHurtsAndAShipAboveIsHarmless) {
    jogador_em(20, 30);
    poe(21, 30, METEORO);
    poe(19, 30, TIRO_INIMIGO);
    poe(20, 31, METEORO);
    poe(20, 29, NAVE);
    fotografa();
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 4);
    EXPECT_EQ(p.jogadorx, 20);
    EXPECT_TRUE(mudancas().empty());
    mostra(20, 29, NAVE, VERDE);
    mostra(20, 30, JOGADOR, BRANCO);
    EXPECT_TRUE(con.platform.tones().empty());
}

TEST_F(Contatos, APickUpAndAHitInOneFrame) {
    jogador_em(20, 30);
    poe(21, 30, VIDA);
    poe(20, 29, METEORO);
    fase_contatos(p);
    EXPECT_EQ(p.vidas, 4); // +1 -1
    auto esperados = teste::pega_vida(1);
    for (const auto& t : teste::perde_vida(1))
        esperados.push_back(t);
    EXPECT_EQ(tons(), esperados);
    vazio(21, 30);
    mostra(35, 45, JOGADOR, BRANCO);
}

// ---- Phase 7: the extra life that appears.

using SurgeVida = teste::CampoPintado;

TEST_F(SurgeVida, FiveChancesInFourHundredThenColumnThenRow) {
    sorteios({4, 49, 29});
    fotografa();
    fase_surge_vida(p);
    mostra(52, 32, VIDA, BRANCO);
    EXPECT_EQ(mudancas(), (Posicoes{{52, 32}}));
    sorteios_usados(3);
    branco_em_vigor();
}

TEST_F(SurgeVida, ReplacesWhateverTheCellHeld) {
    poe(3, 3, NAVE);
    sorteios({400, 0, 0});
    fase_surge_vida(p);
    mostra(3, 3, VIDA, BRANCO);
}

TEST_F(SurgeVida, AFailedChanceDrawsOnce) {
    sorteios({5});
    fotografa();
    fase_surge_vida(p);
    EXPECT_TRUE(mudancas().empty());
    sorteios_usados(1);
}

// ---- Phase 9: meteors appear near the top and are not shown yet.

using SurgeMeteoro = teste::CampoPintado;

TEST_F(SurgeMeteoro, RowFirstThenColumnAndNothingPrinted) {
    poe(69, 4, VIDA);
    sorteios({41, 4, 69}); // level 1: more than 40
    fotografa();
    fase_surge_meteoro(p);
    EXPECT_EQ(em(69, 4), METEORO);
    EXPECT_TRUE(mudancas().empty());
    sorteios_usados(3);
}

TEST_F(SurgeMeteoro, TheGateIsStrictlyAboveTheLevelsThreshold) {
    sorteios({40});
    fase_surge_meteoro(p);
    sorteios_usados(1);
    p.parametros = NIVEIS[3].parametros; // 20
    sorteios({21, 0, 0});
    fase_surge_meteoro(p);
    EXPECT_EQ(em(0, 0), METEORO);
}

// ---- Phase 10: the meteors fall together or not at all.

using QuedaMeteoros = teste::CampoPintado;

TEST_F(QuedaMeteoros, EveryScannedMeteorFallsOneRowWithinItsBounds) {
    poe(58, 46, METEORO); // last row that still falls
    poe(57, 47, METEORO); // falls out
    poe(56, 48, METEORO); // falls out
    poe(2, 20, METEORO);  // column 2 falls out
    poe(3, 20, METEORO);
    esconde(10, 4, METEORO); // first shown when it falls
    esconde(11, 3, METEORO); // above the scan
    esconde(59, 20, METEORO);
    poe(20, 10, METEORO); // one above the other: each moves one row
    poe(20, 11, METEORO);
    sorteios({81});
    fotografa();
    fase_queda_meteoros(p);
    vazio(58, 46);
    mostra(58, 47, METEORO, VERMELHO);
    vazio(57, 47);
    vazio(57, 48);
    vazio(56, 48);
    vazio(2, 20);
    vazio(2, 21);
    vazio(3, 20);
    mostra(3, 21, METEORO, VERMELHO);
    vazio(10, 4);
    mostra(10, 5, METEORO, VERMELHO);
    EXPECT_EQ(em(11, 3), METEORO);
    EXPECT_EQ(em(59, 20), METEORO);
    vazio(20, 10);
    mostra(20, 11, METEORO, VERMELHO);
    mostra(20, 12, METEORO, VERMELHO);
    EXPECT_EQ(mudancas(), (Posicoes{{58, 46},
                                    {58, 47},
                                    {57, 47},
                                    {56, 48},
                                    {2, 20},
                                    {3, 20},
                                    {3, 21},
                                    {10, 5},
                                    {20, 10},
                                    {20, 12}}));
    sorteios_usados(1);
    branco_em_vigor();
}

TEST_F(QuedaMeteoros, AFailedGateMovesNone) {
    poe(20, 10, METEORO);
    sorteios({80});
    fotografa();
    fase_queda_meteoros(p);
    mostra(20, 10, METEORO, VERMELHO);
    EXPECT_TRUE(mudancas().empty());
    sorteios_usados(1);
}

TEST_F(QuedaMeteoros, AMeteorFallingOntoTheShipTakesItsCellWithoutAHit) {
    poe(40, 34, METEORO);
    sorteios({99});
    fase_queda_meteoros(p);
    mostra(40, 35, METEORO, VERMELHO);
    EXPECT_EQ(p.vidas, 4);
    EXPECT_EQ(p.jogadory, 35);
}

// ---- Phase 14: the enemy shots fall, with bounds of their own.

using TirosInimigos = teste::CampoPintado;

TEST_F(TirosInimigos, EveryScannedShotFallsOneRowWithinItsBounds) {
    poe(59, 20, TIRO_INIMIGO); // column 59 is scanned
    poe(30, 45, TIRO_INIMIGO); // last row that still falls
    poe(31, 46, TIRO_INIMIGO); // falls out
    poe(32, 48, TIRO_INIMIGO);
    poe(2, 10, TIRO_INIMIGO);
    esconde(10, 4, TIRO_INIMIGO);
    esconde(11, 3, TIRO_INIMIGO); // above the scan
    sorteios({71});
    fotografa();
    fase_tiros_inimigos(p);
    vazio(59, 20);
    mostra(59, 21, TIRO_INIMIGO, AMARELO);
    vazio(30, 45);
    mostra(30, 46, TIRO_INIMIGO, AMARELO);
    vazio(31, 46);
    vazio(31, 47);
    vazio(32, 48);
    vazio(2, 10);
    vazio(2, 11);
    mostra(10, 5, TIRO_INIMIGO, AMARELO);
    EXPECT_EQ(em(11, 3), TIRO_INIMIGO);
    EXPECT_EQ(
        mudancas(),
        (Posicoes{{59, 20}, {59, 21}, {30, 45}, {30, 46}, {31, 46}, {32, 48}, {2, 10}, {10, 5}}));
    sorteios_usados(1);
    branco_em_vigor();
}

TEST_F(TirosInimigos, AFailedGateMovesNone) {
    poe(30, 20, TIRO_INIMIGO);
    sorteios({70});
    fotografa();
    fase_tiros_inimigos(p);
    EXPECT_TRUE(mudancas().empty());
}

TEST_F(TirosInimigos, AShotInTheShipsCellBlanksTheShipAsItLeaves) {
    esconde(40, 35, TIRO_INIMIGO); // fired by a ship right above
    sorteios({99});
    fase_tiros_inimigos(p);
    vazio(40, 35);
    mostra(40, 36, TIRO_INIMIGO, AMARELO);
    EXPECT_EQ(p.vidas, 4);
}

// ---- Phase 15: ships appear near the top, unseen until the repaint.

using SurgeNave = teste::CampoPintado;

TEST_F(SurgeNave, ColumnThenRowFromOne) {
    sorteios({91, 3, 3});
    fotografa();
    fase_surge_nave(p);
    EXPECT_EQ(em(4, 4), NAVE);
    EXPECT_TRUE(mudancas().empty());
    sorteios_usados(3);
}

TEST_F(SurgeNave, ColumnsOneToThreeOrRowsOneToThreePlaceNothing) {
    const Campo antes = p.campo;
    sorteios({91, 2, 6, 91, 69, 2, 91, 0, 0});
    fase_surge_nave(p);
    fase_surge_nave(p);
    fase_surge_nave(p);
    for (int c = 0; c < COLUNAS; ++c)
        for (int r = 0; r < LINHAS; ++r)
            ASSERT_EQ(em(c, r), antes.at(c, r)) << c << "," << r;
    sorteios_usados(9);
}

TEST_F(SurgeNave, TheFarCornerIsPlacedWhereShipsAreNeverShown) {
    sorteios({199, 69, 6});
    fase_surge_nave(p);
    EXPECT_EQ(em(70, 7), NAVE);
}

TEST_F(SurgeNave, AFailedGateDrawsOnce) {
    sorteios({90});
    fase_surge_nave(p);
    sorteios_usados(1);
}

// ---- Phase 16: every ship is painted green again.

using RedesenhaNaves = teste::CampoPintado;

TEST_F(RedesenhaNaves, PaintsTheScannedShipsGreen) {
    esconde(1, 1, NAVE);
    esconde(59, 49, NAVE);
    poe(30, 10, NAVE);
    esconde(31, 10, NAVE);
    pinta(31, 10, NAVE, BRANCO); // as a ship shows right after a move
    esconde(60, 5, NAVE);
    esconde(0, 5, NAVE);
    fotografa();
    fase_redesenha_naves(p);
    mostra(1, 1, NAVE, VERDE);
    mostra(59, 49, NAVE, VERDE);
    mostra(30, 10, NAVE, VERDE);
    mostra(31, 10, NAVE, VERDE);
    EXPECT_EQ(mudancas(), (Posicoes{{1, 1}, {59, 49}, {31, 10}}));
    branco_em_vigor();
}

// ---- Phase 18: ships wander, in place.

using MoveNaves = teste::CampoPintado;

TEST_F(MoveNaves, ARightMoveIsMetAgainInTheNextColumn) {
    poe(10, 10, NAVE);
    sorteios({0, 99}); // v = 1: right; then v = 100: stays
    fotografa();
    fase_move_naves(p);
    vazio(10, 10);
    mostra(11, 10, NAVE, BRANCO);
    EXPECT_EQ(mudancas(), (Posicoes{{10, 10}, {11, 10}}));
    sorteios_usados(2);
    branco_em_vigor();
}

TEST_F(MoveNaves, FromColumnFortyThreeARightMoveEndsAtFortyFour) {
    poe(43, 5, NAVE);
    sorteios({0, 0});
    fase_move_naves(p);
    EXPECT_EQ(em(43, 5), VAZIO);
    mostra(44, 5, NAVE, BRANCO);
    sorteios_usados(2);
}

TEST_F(MoveNaves, ADownMoveIsMetAgainInTheSameColumnDownToRowFortyFour) {
    poe(10, 42, NAVE);
    sorteios({2, 2, 2});
    fase_move_naves(p);
    vazio(10, 42);
    vazio(10, 43);
    mostra(10, 44, NAVE, BRANCO);
    sorteios_usados(3);
}

TEST_F(MoveNaves, ALeftMoveIsNotMetAgainAndStopsAtColumnTwo) {
    poe(10, 10, NAVE);
    poe(2, 20, NAVE);
    sorteios({1, 1}); // column 2 first: stays; then (10, 10) goes left
    fase_move_naves(p);
    mostra(2, 20, NAVE, VERDE);
    vazio(10, 10);
    mostra(9, 10, NAVE, BRANCO);
    sorteios_usados(2);
}

TEST_F(MoveNaves, ShipsInColumnsFiftyEightAndFiftyNineNeverMove) {
    poe(58, 10, NAVE);
    poe(59, 10, NAVE);
    poe(57, 10, NAVE);
    sorteios({0}); // right is out of bounds at 57
    fotografa();
    fase_move_naves(p);
    EXPECT_TRUE(mudancas().empty());
    sorteios_usados(1);
}

TEST_F(MoveNaves, AMoveReplacesWhatItMovesInto) {
    jogador_em(11, 10);
    poe(10, 10, NAVE);
    sorteios({0, 99});
    fase_move_naves(p);
    mostra(11, 10, NAVE, BRANCO);
    EXPECT_EQ(p.jogadorx, 11);
    EXPECT_EQ(p.vidas, 4);
}

// ---- Phase 19: enemy fire and its tone.

using FogoInimigo = teste::CampoPintado;

TEST_F(FogoInimigo, AShipFiresUnseenIntoTheCellBelowWithOneTone) {
    poe(10, 10, NAVE);
    sorteios({9, 51});
    fotografa();
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(10, 11), TIRO_INIMIGO);
    EXPECT_TRUE(mudancas().empty());
    EXPECT_EQ(p.bipe, 1);
    ASSERT_EQ(con.platform.tones().size(), 1u);
    EXPECT_EQ(con.platform.tones()[0], (console::Tone{250, 50, 0}));
    EXPECT_EQ(con.platform.now_ms(), 50);
    sorteios_usados(2);
}

TEST_F(FogoInimigo, HalfAndBelowHoldsFire) {
    poe(10, 10, NAVE);
    sorteios({0, 50});
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(10, 11), VAZIO);
    EXPECT_EQ(p.bipe, 0);
    EXPECT_TRUE(con.platform.tones().empty());
}

TEST_F(FogoInimigo, AFailedGateScansNothing) {
    poe(10, 10, NAVE);
    sorteios({10});
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(10, 11), VAZIO);
    sorteios_usados(1);
}

TEST_F(FogoInimigo, TheShotReplacesAShipBelowAndTheScanGoesOnTwoRowsDown) {
    poe(10, 10, NAVE);
    poe(10, 11, NAVE);
    poe(10, 12, NAVE);
    sorteios({0, 51, 99});
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(10, 10), NAVE);
    EXPECT_EQ(em(10, 11), TIRO_INIMIGO);
    EXPECT_EQ(em(10, 12), NAVE);
    EXPECT_EQ(em(10, 13), TIRO_INIMIGO);
    sorteios_usados(3);
    EXPECT_EQ(con.platform.tones().size(), 1u); // once per frame at most
}

TEST_F(FogoInimigo, SilentWhileTheToneFlagIsSet) {
    p.bipe = 1;
    poe(10, 10, NAVE);
    sorteios({0, 99});
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(10, 11), TIRO_INIMIGO);
    EXPECT_TRUE(con.platform.tones().empty());
}

TEST_F(FogoInimigo, ColumnFiftyNineNeverFires) {
    poe(59, 10, NAVE);
    sorteios({0});
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(59, 11), VAZIO);
    sorteios_usados(1);
}

TEST_F(FogoInimigo, FiringIntoTheShipCostsNoLife) {
    poe(40, 34, NAVE);
    sorteios({0, 51});
    fase_fogo_inimigo(p);
    EXPECT_EQ(em(40, 35), TIRO_INIMIGO);
    mostra(40, 34, NAVE, VERDE);
    EXPECT_EQ(tela(40, 35).ch, JOGADOR); // still shown until the shot falls
    EXPECT_EQ(p.vidas, 4);
}

} // namespace
