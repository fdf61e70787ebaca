#include "screens/janela.hpp"

#include "espiao.hpp"

#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include "screens/paleta.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using screens::BRANCO;
using screens::VERDE;
using screens::VERMELHO;

using console::Cell;

struct PlayScreen : ::testing::Test {
    console::MemoryConsole con;
    void SetUp() override {
        console::clrscr();
        console::textcolor(BRANCO);
    }
    void expect_text(int col, int row, const std::string& text, int colour) {
        screens_test::expect_text(con, col, row, text, colour);
    }
};

// What each cell of the frame must hold once janela is done.
int expected_frame_byte(int col, int row) {
    const bool top = row == 1, bottom = row == 49;
    const bool left = col == 1, right = col == 80;
    if (top && left)
        return 201;
    if (top && right)
        return 187;
    if (bottom && left)
        return 200;
    if (bottom && right)
        return 188;
    if (col == 60 && top)
        return 203;
    if (col == 60 && bottom)
        return 202;
    if (col == 60 && (row == 20 || row == 35))
        return 204;
    if (right && (row == 20 || row == 35))
        return 185;
    if (top || bottom)
        return 205;
    if (left || right || col == 60)
        return 186;
    if ((row == 20 || row == 35) && col > 60)
        return 205;
    return -1;
}

TEST_F(PlayScreen, FrameRulesCornersAndJunctionsCellByCell) {
    screens::janela();
    int checked = 0;
    for (int row = 1; row <= 49; ++row)
        for (int col = 1; col <= 80; ++col) {
            const int byte = expected_frame_byte(col, row);
            if (byte < 0)
                continue;
            ++checked;
            ASSERT_EQ(con.screen.at(col, row), (Cell{static_cast<std::uint8_t>(byte), BRANCO}))
                << col << "," << row;
        }
    EXPECT_EQ(checked, 2 * 80 + 2 * 47 + 47 + 2 * 19);
    // The play area itself stays empty.
    for (int row = 2; row <= 48; ++row)
        EXPECT_EQ(con.screen.text(2, row, 58), std::string(58, ' ')) << row;
    EXPECT_EQ(con.screen.row_text(50), std::string(80, ' '));
}

TEST_F(PlayScreen, StatusLabelsLegendAndCommandsInTheirColours) {
    screens::janela();
    expect_text(61, 3, " Nome : ", BRANCO);
    expect_text(61, 5, " Vidas \x03 :", BRANCO);
    expect_text(61, 7, " Nivel :", BRANCO);
    expect_text(61, 9, " Tiro Especial :", BRANCO);
    expect_text(78, 9, "\x01", VERMELHO);
    expect_text(61, 11, " Pontos : ", BRANCO);
    expect_text(61, 16, " Status :", BRANCO);
    expect_text(71, 16, "JOGANDO", VERDE);

    expect_text(61, 22, "     LEGENDA ", VERMELHO);
    expect_text(63, 24, "\x0c : Nave Inimiga", BRANCO);
    expect_text(63, 26, "|  : Tiro Inimigo", BRANCO);
    expect_text(63, 28, "\x0f : Meteoro", BRANCO);
    expect_text(63, 30, "\xbe : Player", BRANCO);
    expect_text(63, 32, "\x03 : Vida", BRANCO);

    expect_text(61, 37, "     COMANDOS :", VERMELHO);
    expect_text(63, 38, "A - ESQUERDA", BRANCO);
    expect_text(63, 39, "D - DIREITA", BRANCO);
    expect_text(63, 40, "W - CIMA", BRANCO);
    expect_text(63, 41, "S - BAIXO", BRANCO);
    expect_text(63, 42, "ESPACO - TIRO", BRANCO);
    expect_text(63, 43, "P - PAUSE", BRANCO);
    expect_text(63, 44, "B - ESPECIAL", BRANCO);
    expect_text(63, 45, "ESC - SAIR", BRANCO);

    // The contact line fits inside the panel, with the frame untouched.
    const std::string contact = con.screen.text(63, 47, 17);
    EXPECT_NE(contact.find('@'), std::string::npos);
    EXPECT_EQ(con.screen.at(80, 47).ch, 186);
    EXPECT_EQ(con.screen.at(63, 47).attr, BRANCO);

    EXPECT_EQ(con.screen.attribute(), BRANCO);
    EXPECT_EQ(console::layer_state().FOREGROUND, BRANCO);
}

TEST_F(PlayScreen, LevelValueForTheFourLevelKeys) {
    for (const int level : {'1', '2', '3', '4'}) {
        console::textcolor(BRANCO);
        screens::printnivel(level);
        expect_text(70, 7, std::string{static_cast<char>(level), ' '}, VERDE);
        // The caller restores white itself.
        EXPECT_EQ(console::layer_state().FOREGROUND, VERDE);
    }
}

TEST_F(PlayScreen, LevelValueBlankWipesAWiderNumberBeforeIt) {
    console::gotoxy(70, 7);
    console::printf("%i", 49);
    screens::printnivel('3');
    EXPECT_EQ(con.screen.text(70, 7, 2), "3 ");
}

TEST_F(PlayScreen, LevelValueOutsideTheFourKeysLeavesCellAndColourAlone) {
    console::gotoxy(70, 7);
    console::printf("%i", 120);
    for (const int level : {int{'0'}, int{'5'}, int{'7'}, int{'x'}, 0, 48, 53}) {
        console::textcolor(BRANCO);
        console::gotoxy(1, 1);
        screens::printnivel(level);
        EXPECT_EQ(con.screen.text(70, 7, 3), "120") << level;
        EXPECT_EQ(console::layer_state().FOREGROUND, BRANCO) << level;
        EXPECT_EQ(con.screen.cursor(), (console::Coord{0, 0})) << level;
    }
}

TEST_F(PlayScreen, SpecialMarkTurnsGreenOnlyAboveAThousand) {
    const struct {
        int charge;
        int colour;
    } cases[] = {{0, VERMELHO}, {951, VERMELHO}, {1000, VERMELHO}, {1001, VERDE}, {5000, VERDE}};
    for (const auto c : cases) {
        console::textcolor(BRANCO);
        screens::tiroespecials(c.charge);
        EXPECT_EQ(con.screen.at(78, 9), (Cell{1, static_cast<std::uint16_t>(c.colour)}))
            << c.charge;
        EXPECT_EQ(con.screen.attribute(), BRANCO) << c.charge;
    }
}

} // namespace
