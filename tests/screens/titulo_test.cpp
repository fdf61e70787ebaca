#include "screens/titulo.hpp"

#include "screens/janela.hpp"

#include "espiao.hpp"

#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include "screens/paleta.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using screens::AMARELO;
using screens::BRANCO;
using screens::VERDE;
using screens::VERMELHO;

using screens_test::expect_text;

using console::Cell;
using screens_test::ConsoleEspia;
using screens_test::Escrita;

std::vector<Escrita> writes_in_column(const std::vector<Escrita>& all, int col) {
    std::vector<Escrita> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                 [col](const Escrita& w) { return w.coluna == col; });
    return out;
}

struct Credit : ::testing::Test {
    ConsoleEspia con;
    void SetUp() override {
        console::clrscr();
        console::textcolor(AMARELO);
    }
};

TEST_F(Credit, TypesTheNameAndTheContactLineInTheColourInForce) {
    screens::assinatura(38, 50);
    expect_text(con, 54, 39, "Por Quenvar", AMARELO);
    const std::string contact = con.screen.text(54, 41, 26);
    EXPECT_NE(contact.find('@'), std::string::npos);
    EXPECT_EQ(contact.find(' '), contact.find_last_not_of(' ') + 1) << "one word: " << contact;
    EXPECT_EQ(con.screen.at(54, 41).attr, AMARELO);
    // The same address as the status panel's.
    screens::janela();
    const std::string address = contact.substr(0, contact.find(' '));
    EXPECT_EQ(con.screen.text(63, 47, static_cast<int>(address.size()) + 1), address + " ");
}

TEST_F(Credit, OneClickBetweenLettersAndOneLongerPauseInsideTheName) {
    screens::assinatura(38, 50);
    const auto& tones = con.platform.tones();
    ASSERT_EQ(tones.size(), std::string("Por Quenvar").size() - 1);
    for (const auto& t : tones)
        EXPECT_EQ((std::pair{t.hz, t.ms}), (std::pair{634, 10}));

    const auto& sleeps = con.platform.sleeps();
    ASSERT_EQ(sleeps.size(), 10u);
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 15), 9);
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 70), 1);

    // Letters, one write each, with no tone before the first or after the last.
    std::vector<Escrita> letters(con.screen.escritas.begin(), con.screen.escritas.begin() + 11);
    EXPECT_EQ(letters.front().at_ms, 0);
    EXPECT_GT(letters.back().at_ms, tones.back().at_ms);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(letters[static_cast<std::size_t>(i)].coluna, 54 + i);
    int long_gaps = 0;
    for (std::size_t i = 1; i < letters.size(); ++i) {
        const auto gap = letters[i].at_ms - letters[i - 1].at_ms;
        if (gap == 80) {
            ++long_gaps;
            // Both letters belong to "Quenvar", which starts at the fifth.
            EXPECT_GE(i - 1, 4u);
        } else {
            EXPECT_EQ(gap, 25) << i;
        }
    }
    EXPECT_EQ(long_gaps, 1);
    EXPECT_EQ(con.platform.now_ms(), 10 * 10 + 9 * 15 + 70);
}

struct Title : ::testing::Test {
    ConsoleEspia con;
    void SetUp() override {
        console::clrscr();
        console::textcolor(BRANCO);
    }
    int play(int key) {
        con.platform.push_key(key);
        return screens::apresentacao();
    }
};

const int title_widths[6] = {50, 64, 64, 64, 61, 63};

TEST_F(Title, SeedsTheGeneratorWithTheTime) {
    con.platform.set_time(1'234'567);
    play('2');
    EXPECT_EQ(con.platform.last_seed(), 1'234'567u);
}

TEST_F(Title, EachBannerLineTakesItsOwnColourAndNeverBlack) {
    // Draws of 0 and 15 would give black without the offset; 14 gives white.
    con.platform.script_rand({15, 14, 0, 29, 7, 3, 30});
    play('2');
    const int colours[6] = {1, 15, 1, 15, 8, 4};
    for (int line = 0; line < 6; ++line) {
        const int row = 3 + line;
        int drawn = 0;
        for (int col = 10; col < 10 + title_widths[line]; ++col) {
            const Cell cell = con.screen.at(col, row);
            EXPECT_EQ(cell.attr, colours[line]) << col << "," << row;
            drawn += cell.ch != ' ';
        }
        EXPECT_GE(drawn, 6) << row;
    }
    for (int row = 41; row <= 46; ++row)
        EXPECT_EQ(con.screen.at(25, row).attr, 1) << row;
    EXPECT_EQ(con.platform.rand_calls(), 7u);
}

TEST_F(Title, BannerLinesHaveTheirWidthsFromColumnTenInPrintableAscii) {
    // Mark the rows first to see exactly which cells the banner covers.
    for (int row = 3; row <= 8; ++row) {
        console::gotoxy(1, row);
        console::printf("%s", std::string(80, '#'));
    }
    play('2');
    for (int line = 0; line < 6; ++line) {
        const int row = 3 + line;
        const int width = title_widths[line];
        EXPECT_EQ(con.screen.at(9, row).ch, '#') << row;
        EXPECT_EQ(con.screen.at(10 + width, row).ch, '#') << row;
        for (int col = 10; col < 10 + width; ++col) {
            const auto ch = con.screen.at(col, row).ch;
            EXPECT_TRUE(ch == ' ' || ch == '_' || ch == '/' || ch == '\\' || ch == '|' ||
                        ch == '.' || ch == '<' || ch == '>')
                << col << "," << row << ": " << int{ch};
        }
    }
}

TEST_F(Title, VersionBannerInOneColourAtColumnTwentyFive) {
    con.platform.script_rand({1, 2, 3, 4, 5, 6, 10});
    play('2');
    const std::string lines[6] = {
        "         ____     _______   ",    "___  __ /_   |    \\   _  \\ ",
        "\\  \\/ /  |   |    /  /_\\  \\", " \\   /   |   |    \\  \\_/   \\",
        "  \\_/    |___| /\\  \\_____  /", "               \\/        \\/ ",
    };
    for (int i = 0; i < 6; ++i)
        expect_text(con, 25, 41 + i, lines[i], 11);
}

TEST_F(Title, LinesComeAtTheirTimes) {
    play('2');
    std::vector<std::int64_t> title_times, version_times;
    for (const Escrita& w : con.screen.escritas) {
        if (w.coluna == 10 && w.linha >= 3 && w.linha <= 8)
            title_times.push_back(w.at_ms);
        if (w.coluna == 25 && w.linha >= 41 && w.linha <= 46)
            version_times.push_back(w.at_ms);
    }
    EXPECT_EQ(title_times, (std::vector<std::int64_t>{150, 350, 500, 650, 800, 950}));
    EXPECT_EQ(version_times, (std::vector<std::int64_t>{1100, 1200, 1300, 1400, 1500, 1600}));
    // The ship appears 50 ms after the last version line, with its click.
    ASSERT_FALSE(con.platform.tones().empty());
    EXPECT_EQ(con.platform.tones().front(), (console::Tone{634, 10, 1650}));
}

TEST_F(Title, ShotClimbsFromRowThirtyFiveToTenInTwentySixSteps) {
    play('2');
    const auto col = writes_in_column(con.screen.escritas, 38);
    ASSERT_GE(col.size(), 1u);
    EXPECT_EQ(col.front().linha, 37);
    EXPECT_EQ(col.front().bytes, "\xbe");
    EXPECT_EQ(col.front().attr, BRANCO);

    // Bar and the blank under it, step by step, 50 ms apart.
    std::vector<Escrita> steps;
    for (const Escrita& w : col)
        if (w.bytes == "|" && w.linha >= 10 && w.linha <= 35)
            steps.push_back(w);
    ASSERT_EQ(steps.size(), 26u + 1u); // the burst draws one "|" at row 11 too
    std::vector<int> bar_rows;
    std::int64_t previous = 1660;
    for (std::size_t i = 0; i < col.size(); ++i) {
        const Escrita& w = col[i];
        if (w.bytes != "|" || w.at_ms == previous)
            continue;
        bar_rows.push_back(w.linha);
        ASSERT_LT(i + 1, col.size());
        EXPECT_EQ(col[i + 1].bytes, " ");
        EXPECT_EQ(col[i + 1].linha, w.linha + 1);
        previous = w.at_ms;
    }
    std::vector<int> expected;
    for (int row = 35; row >= 10; --row)
        expected.push_back(row);
    EXPECT_EQ(bar_rows, expected);
}

TEST_F(Title, BurstAfterTheBarReachesRowElevenThenTheTitleTune) {
    std::vector<std::string> column_at_burst;
    con.platform.ao_tocar = [&](int hz, int) {
        if (hz != 100)
            return;
        for (int row = 9; row <= 37; ++row)
            column_at_burst.push_back(con.screen.text(38, row, 1));
    };
    play('2');
    ASSERT_EQ(column_at_burst.size(), 29u);
    EXPECT_EQ(column_at_burst[0], "|"); // row 9: the burst's top
    EXPECT_EQ(column_at_burst[1], "*"); // row 10
    EXPECT_EQ(column_at_burst[2], "|"); // row 11
    for (int row = 12; row <= 36; ++row)
        EXPECT_EQ(column_at_burst[static_cast<std::size_t>(row - 9)], " ") << row;
    EXPECT_EQ(column_at_burst[28], "\xbe");

    const auto& tones = con.platform.tones();
    ASSERT_EQ(tones.size(), 1u + 1u + 18u);
    // 25 steps after the click, then the burst's own 50 ms pause.
    EXPECT_EQ(tones[1], (console::Tone{100, 125, 1660 + 25 * 50 + 50}));
    const std::vector<console::Tone> tune(tones.begin() + 2, tones.end());
    EXPECT_EQ(tune.front().at_ms, tones[1].at_ms + 125);
    EXPECT_EQ(screens_test::duracao(tune), 1450);
    EXPECT_EQ(tune.back().hz, 440);
}

TEST_F(Title, AfterTheShotTheColumnHoldsOnlyTheShip) {
    play('2');
    for (int row = 9; row <= 40; ++row)
        EXPECT_EQ(con.screen.at(38, row).ch, row == 37 ? 190 : ' ') << row;
    for (int row = 9; row <= 11; ++row)
        EXPECT_EQ(con.screen.text(37, row, 3), "   ") << row;
}

TEST_F(Title, KeyOneAsksForTheNameAndAnnouncesTheLevelChoice) {
    EXPECT_EQ(play('1'), '1');
    expect_text(con, 15, 20, "1 - Jogar", VERDE);
    expect_text(con, 15, 22, "Digite Seu Nome -> ", VERDE);
    expect_text(con, 15, 25, "EM SEGUIDA, VOCE ESCOLHERA O NIVEL", VERMELHO);
    EXPECT_EQ(con.screen.text(34, 22, 10), std::string(10, ' '));
    EXPECT_EQ(std::count(con.platform.sleeps().begin(), con.platform.sleeps().end(), 2000), 0);
    EXPECT_EQ(console::layer_state().FOREGROUND, BRANCO);
    EXPECT_EQ(console::layer_state().BACKGROUND, 0);
    EXPECT_EQ(con.screen.attribute(), BRANCO);
}

TEST_F(Title, MenuWaitsForItsKeyWithItsTwoEntriesShown) {
    con.platform.push_key('1', 60'000);
    screens::apresentacao();
    EXPECT_EQ(con.platform.now_ms(), 60'000);
    const auto it = std::find_if(con.screen.escritas.begin(), con.screen.escritas.end(),
                                 [](const Escrita& w) { return w.bytes == "2 - Sair"; });
    ASSERT_NE(it, con.screen.escritas.end());
    EXPECT_EQ(it->linha, 22);
    EXPECT_EQ(it->coluna, 15);
    EXPECT_EQ(it->attr, 2);
    EXPECT_LT(it->at_ms, 60'000);
}

TEST_F(Title, AnyOtherKeySaysGoodbyeAndWaitsTwoSeconds) {
    for (const int key : {int{'2'}, int{'x'}, 27, 0, int{'3'}}) {
        ConsoleEspia run;
        console::clrscr();
        run.platform.push_key(key);
        EXPECT_EQ(screens::apresentacao(), key);
        expect_text(run, 15, 22, "Ate O Proximo Jogo", VERDE);
        // Nothing of "2 - Sair" is left over.
        EXPECT_EQ(run.screen.text(33, 22, 10), std::string(10, ' ')) << key;
        EXPECT_EQ(run.screen.text(15, 25, 34), std::string(34, ' ')) << key;
        ASSERT_FALSE(run.platform.sleeps().empty());
        EXPECT_EQ(run.platform.sleeps().back(), 2000);
        EXPECT_EQ(run.screen.escritas.back().bytes, "Ate O Proximo Jogo");
        EXPECT_EQ(console::layer_state().FOREGROUND, BRANCO);
        EXPECT_EQ(console::layer_state().BACKGROUND, 0);
    }
}

} // namespace
