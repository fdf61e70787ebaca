#include "screens/fim.hpp"

#include "espiao.hpp"

#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include "screens/paleta.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using screens::AMARELO;
using screens::BRANCO;
using screens::VERDE;
using screens::VERMELHO;

using screens_test::expect_text;

using console::Cell;

int expected_box_byte(int col, int row) {
    const bool left = col == 19, right = col == 60;
    const bool ruled = row == 14 || row == 16 || row == 33 || row == 35;
    if (row == 14 && left)
        return 201;
    if (row == 14 && right)
        return 187;
    if (row == 35 && left)
        return 200;
    if (row == 35 && right)
        return 188;
    if ((row == 16 || row == 33) && left)
        return 204;
    if ((row == 16 || row == 33) && right)
        return 185;
    if (ruled && col > 19 && col < 60)
        return 205;
    if ((left || right) && row > 14 && row < 35)
        return 186;
    return -1;
}

template <class Con> void expect_box(const Con& con, int colour) {
    for (int row = 14; row <= 35; ++row)
        for (int col = 19; col <= 60; ++col) {
            const int byte = expected_box_byte(col, row);
            if (byte < 0)
                continue;
            ASSERT_EQ(con.screen.at(col, row),
                      (Cell{static_cast<std::uint8_t>(byte), static_cast<std::uint16_t>(colour)}))
                << col << "," << row;
        }
}

struct EndScreens : ::testing::Test {
    console::MemoryConsole con;
    void SetUp() override {
        console::clrscr();
        console::textcolor(BRANCO);
    }
};

TEST_F(EndScreens, GameOverShowsBoxHeadlinesScoreAndLevel) {
    screens::gameover(12345, '2');
    expect_box(con, 15);
    expect_text(con, 23, 15, "GAME OVER - GAME OVER - GAME OVER", VERMELHO);
    expect_text(con, 23, 34, "GAME OVER - GAME OVER - GAME OVER", VERMELHO);
    expect_text(con, 23, 21, "JOGADOR - > ", VERDE);
    expect_text(con, 23, 24, "PONTUACAO - > 12345 ", VERDE);
    expect_text(con, 23, 27, "NIVEL - > 2 ", VERDE);
    expect_text(con, 23, 40, "Pressione 1 Para Comecar Novamente", VERDE);
    expect_text(con, 28, 42, "Ou Pressione 2 Para Sair", VERDE);
    EXPECT_EQ(console::layer_state().FOREGROUND, VERDE);
    EXPECT_TRUE(con.platform.tones().empty());
    EXPECT_EQ(con.platform.now_ms(), 0);
}

TEST_F(EndScreens, GameOverShowsTheLevelDigitNotItsCharacterCode) {
    screens::gameover(0, '1');
    expect_text(con, 23, 27, "NIVEL - > 1 ", VERDE);
    expect_text(con, 23, 24, "PONTUACAO - > 0 ", VERDE);
    EXPECT_EQ(con.screen.text(23, 27, 20).find("49"), std::string::npos);

    // The automatic advance can leave a level past '4'.
    screens::gameover(16000, '7');
    expect_text(con, 23, 27, "NIVEL - > 7 ", VERDE);
}

TEST_F(EndScreens, BoxTakesTheColourInForce) {
    console::textcolor(AMARELO);
    screens::gameover(10, '1');
    expect_box(con, 14);
}

TEST_F(EndScreens, CompletionShowsEverythingBeforeItsTuneOfSixSecondsAndAHalf) {
    screens_test::ConsoleEspia spy;
    console::clrscr();
    console::textcolor(BRANCO);
    bool checked = false;
    std::size_t writes_at_first_note = 0;
    spy.platform.ao_tocar = [&](int, int) {
        if (checked)
            return;
        checked = true;
        writes_at_first_note = spy.screen.escritas.size();
        expect_box(spy, 15);
        expect_text(spy, 30, 15, "PARABENS - JOGO TERMINADO", VERDE);
        expect_text(spy, 30, 34, "PARABENS - JOGO TERMINADO", VERDE);
        expect_text(spy, 23, 21, "Por : Quenvar", VERDE);
        expect_text(spy, 23, 24, "1o Periodo Sistemas De Informacao", VERDE);
        expect_text(spy, 23, 27, "Lorvena", VERDE);
        expect_text(spy, 23, 40, "Pressione 1 Para Comecar Novamente", VERDE);
        expect_text(spy, 28, 42, "Ou Pressione 2 Para Sair", VERDE);
    };
    screens::zerado();
    ASSERT_TRUE(checked);
    const auto& tones = spy.platform.tones();
    ASSERT_EQ(tones.size(), 18u);
    EXPECT_EQ(tones.front().at_ms, 0);
    EXPECT_EQ(screens_test::duracao(tones), 6350);
    EXPECT_EQ(spy.platform.now_ms(), 6350);
    EXPECT_TRUE(spy.platform.sleeps().empty());
    // Nothing else happens while the tune plays.
    EXPECT_EQ(spy.screen.escritas.size(), writes_at_first_note);
    EXPECT_EQ(console::layer_state().FOREGROUND, VERDE);
}

} // namespace
