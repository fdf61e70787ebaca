#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/fases.hpp"
#include "jogo_teste.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace jogo_teste;

bool iguais(const game::NivelParametros& a, const game::NivelParametros& b) {
    return a.limiarnave == b.limiarnave && a.limiarmeteoro == b.limiarmeteoro &&
           a.limiarqueda == b.limiarqueda && a.limiartiroinimigo == b.limiartiroinimigo &&
           a.atraso == b.atraso;
}

struct Status : Jogo {
    void SetUp() override {
        console::clrscr();
        console::textbackground(0);
        console::textcolor(15);
    }
    void nome(const char* texto) { std::strncpy(p.nome.data(), texto, p.nome.size() - 1); }
};

TEST_F(Status, EachLevelKeyTakesItsRowOfParametersAndOthersKeepThem) {
    const game::NivelParametros esperados[] = {
        {90, 40, 80, 70, 40}, {90, 35, 75, 60, 50}, {80, 25, 60, 50, 70}, {70, 20, 50, 40, 80}};
    for (int i = 0; i < 4; ++i) {
        p.nivel = '1' + i;
        game::fase_parametros(p);
        EXPECT_TRUE(iguais(p.parametros, esperados[i])) << i;
    }
    // Past the fourth level, or from a key outside the table, the last row stays.
    for (const int nivel : {int{'5'}, int{'7'}, int{'0'}, int{'x'}, 0}) {
        p.nivel = nivel;
        game::fase_parametros(p);
        EXPECT_TRUE(iguais(p.parametros, esperados[3])) << nivel;
    }
    // A fresh game with such a key plays with every parameter at 0.
    game::Partida nova;
    nova.nivel = 'x';
    game::fase_parametros(nova);
    EXPECT_TRUE(iguais(nova.parametros, game::NivelParametros{}));
}

TEST_F(Status, StartingLivesComeFromTheLevelInTheFirstFrameOnly) {
    const struct {
        int nivel, vidas;
    } casos[] = {{'1', 4}, {'2', 3}, {'3', 2}, {'4', 1}, {'x', 1}, {'5', 1}};
    for (const auto& c : casos) {
        game::Partida q;
        q.nivel = c.nivel;
        game::fase_vidas_iniciais(q);
        EXPECT_EQ(q.etapa, 1) << c.nivel;
        EXPECT_EQ(q.vidas, c.vidas) << c.nivel;
        q.vidas = 7;
        game::fase_vidas_iniciais(q);
        EXPECT_EQ(q.vidas, 7) << c.nivel;
        EXPECT_EQ(q.etapa, 1) << c.nivel;
    }
    game::Partida avancada;
    avancada.nivel = '2';
    avancada.etapa = 3;
    game::fase_vidas_iniciais(avancada);
    EXPECT_EQ(avancada.etapa, 3);
    EXPECT_EQ(avancada.vidas, 1);
}

TEST_F(Status, TheScoreIsGreenAtItsPlaceAndWhiteFollows) {
    p.pontos = 12345;
    p.nivel = '2';
    game::fase_status(p);
    EXPECT_EQ(texto(71, 11, 6), "12345 ");
    for (int c = 71; c <= 75; ++c)
        EXPECT_EQ(tela(c, 11).attr, VERDE);
    branco_em_vigor();
}

TEST_F(Status, LivesAreGreenAndALostDigitIsWipedOut) {
    p.vidas = 4;
    game::fase_mostra_vidas(p);
    EXPECT_EQ(texto(72, 5, 2), "4 ");
    EXPECT_EQ(tela(72, 5).attr, VERDE);
    branco_em_vigor();

    p.vidas = 10;
    game::fase_mostra_vidas(p);
    EXPECT_EQ(texto(72, 5, 3), "10 ");
    p.vidas = 9;
    game::fase_mostra_vidas(p);
    EXPECT_EQ(texto(72, 5, 3), "9  ");
}

TEST_F(Status, TheNameIsGreenAndEndsTheLine) {
    nome("Ana");
    game::fase_mostra_nome(p);
    EXPECT_EQ(texto(69, 3, 4), "Ana ");
    for (int c = 69; c <= 71; ++c)
        EXPECT_EQ(tela(c, 3).attr, VERDE);
    EXPECT_EQ(con.screen.cursor(), (console::Coord{0, 3}));
    branco_em_vigor();
}

TEST_F(Status, ALongNameStaysInsideThePanel) {
    console::gotoxy(80, 3);
    console::printf("%c", 186);
    nome("Maximiliano Fernandes da Silva Pereira");
    game::fase_mostra_nome(p);
    EXPECT_EQ(texto(69, 3, 11), "Maximiliano");
    EXPECT_EQ(tela(80, 3).ch, 186);
    EXPECT_EQ(con.screen.row_text(4), std::string(80, ' '));
}

TEST_F(Status, TheFrameSleepsTheLevelsDelay) {
    for (const int atraso : {40, 80, 0}) {
        p.parametros.atraso = atraso;
        game::fase_atraso(p);
    }
    EXPECT_EQ(con.platform.sleeps(), (std::vector<int>{40, 80, 0}));
    EXPECT_EQ(con.platform.now_ms(), 120);
}

} // namespace
