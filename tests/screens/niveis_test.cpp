#include "screens/niveis.hpp"

#include "screens/titulo.hpp"

#include "espiao.hpp"

#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include "screens/paleta.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using screens::BRANCO;
using screens::VERDE;
using screens::VERMELHO;

using screens_test::expect_text;

struct LevelScreen : ::testing::Test {
    console::MemoryConsole con;
    void SetUp() override {
        console::clrscr();
        console::textbackground(0);
        console::textcolor(BRANCO);
    }
};

TEST_F(LevelScreen, TextsAtTheirPlacesWhiteThenTheTwoRedLines) {
    screens::niveis();
    expect_text(con, 15, 10, "Niveis \x19", BRANCO);
    expect_text(con, 18, 12, "Em Relacao Ao Player", BRANCO);
    expect_text(con, 20, 14, "\x16 Maior Delay De Tiro E Movimentacao", BRANCO);
    expect_text(con, 20, 15, "\x16 Menor Numero De Vidas", BRANCO);
    expect_text(con, 18, 17, "Em Relacao Ao Inimigo         ", BRANCO);
    expect_text(con, 20, 19, "\x16 Maior Numero De Meteoros", BRANCO);
    expect_text(con, 12, 20, "        \x16 Maior Numero De Naves", BRANCO);
    expect_text(con, 20, 21, "\x16 Menor Delay De Tiro", BRANCO);
    expect_text(con, 12, 22, "        \x16 Maior Numero De Meteoro E Naves", BRANCO);
    expect_text(con, 20, 23, "\x16 Maior Velocidade Dos Meteoros", BRANCO);
    expect_text(con, 15, 25, "   Escolha Um Nivel        ", BRANCO);
    expect_text(con, 20, 27, "Nivel 1 - Easy", BRANCO);
    expect_text(con, 20, 28, "Nivel 2 - Medium", BRANCO);
    expect_text(con, 20, 29, "Nivel 3 - Hard", BRANCO);
    expect_text(con, 20, 30, "Nivel 4 - Extreme", BRANCO);
    expect_text(con, 20, 33, "A CADA 5000 PONTOS O NIVEL AUMENTARA AUTOMATICAMENTE", VERMELHO);
    expect_text(con, 20, 35, "Ao Completar 30.000 Pontos, O Jogo Termina.", VERMELHO);
    EXPECT_EQ(console::layer_state().FOREGROUND, VERMELHO);
    EXPECT_EQ(con.screen.attribute(), VERMELHO);
}

TEST_F(LevelScreen, EveryBulletStandsInColumnTwenty) {
    screens::niveis();
    int bullets = 0;
    for (int row = 1; row <= 50; ++row)
        for (int col = 1; col <= 80; ++col)
            if (con.screen.at(col, row).ch == 22) {
                ++bullets;
                EXPECT_EQ(col, 20) << "row " << row;
            }
    EXPECT_EQ(bullets, 7);
}

TEST_F(LevelScreen, DrawsOverWhatIsThereWithoutClearing) {
    console::gotoxy(54, 39);
    console::printf("Por Quenvar");
    console::gotoxy(10, 3);
    console::printf("banner");
    screens::niveis();
    EXPECT_EQ(con.screen.text(54, 39, 11), "Por Quenvar");
    EXPECT_EQ(con.screen.text(10, 3, 6), "banner");
    EXPECT_TRUE(con.platform.tones().empty());
    EXPECT_EQ(con.platform.now_ms(), 0);
}

// The whole road from the menu to the level key, with the caller's own
// prints in between, as the game makes them.
std::array<std::string, 3> menu_rows_after_level_screen(const std::string& name) {
    console::MemoryConsole con;
    console::clrscr();
    con.platform.push_key('1');
    con.platform.push_keys(name + "\r");
    screens::apresentacao();

    console::gotoxy(15, 22);
    console::textcolor(VERDE);
    console::printf("Digite Seu Nome -> ");
    std::array<char, 64> nome{};
    console::gets(nome);
    console::textbackground(0);
    console::textcolor(BRANCO);
    screens::niveis();
    console::gotoxy(36, 25);
    console::printf("                      ");
    console::gotoxy(35, 25);
    console::textcolor(VERDE);
    console::puts(nome.data());

    return {con.screen.row_text(20), con.screen.row_text(22), con.screen.row_text(25)};
}

TEST(LevelScreenOverTitle, MenuPromptAndHintLeaveNoTrace) {
    const std::string name = "Fulano De Tal Silva"; // 19 characters, the longest covered
    const auto rows = menu_rows_after_level_screen(name);

    const std::string row20 =
        std::string(11, ' ') + std::string(8, ' ') + "\x16" + " Maior Numero De Naves";
    EXPECT_EQ(rows[0], row20 + std::string(80 - row20.size(), ' '));

    const std::string row22 =
        std::string(11, ' ') + std::string(8, ' ') + "\x16" + " Maior Numero De Meteoro E Naves";
    EXPECT_EQ(rows[1], row22 + std::string(80 - row22.size(), ' '));

    const std::string row25 = std::string(17, ' ') + "Escolha Um Nivel " + name;
    EXPECT_EQ(rows[2], row25 + std::string(80 - row25.size(), ' '));
}

TEST(LevelScreenOverTitle, ALongerNameLeavesItsTailOnTheNameRow) {
    const std::string name = "Fulano De Tal Silva Sauro";
    const auto rows = menu_rows_after_level_screen(name);
    // The name was echoed from column 34; the row-22 text ends at column 52.
    EXPECT_EQ(rows[1].substr(52, 6), name.substr(19, 6));
}

} // namespace
