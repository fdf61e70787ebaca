#include "screens/explosao.hpp"
#include "screens/ocultarampliar.hpp"
#include "screens/sons.hpp"

#include "espiao.hpp"

#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include "screens/paleta.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using screens::BRANCO;
using screens::VERDE;

using console::Cell;
using console::ConsoleRequest;
using console::Tone;
using screens_test::duracao;

std::vector<int> frequencies(const std::vector<Tone>& tones) {
    std::vector<int> out;
    for (const Tone& t : tones)
        out.push_back(t.hz);
    return out;
}
std::vector<int> durations(const std::vector<Tone>& tones) {
    std::vector<int> out;
    for (const Tone& t : tones)
        out.push_back(t.ms);
    return out;
}

const std::vector<int> melody = {660, 660, 734, 660, 704, 660, 704, 844, 734,
                                 550, 594, 550, 594, 660, 495, 594, 550, 440};
const std::vector<int> fast = {10, 20, 10, 10, 20, 10, 10, 20, 40,
                               10, 10, 10, 10, 20, 20, 10, 10, 40};

TEST(Explosion, DrawsTheStarburstThenWipesAllNineCells) {
    screens_test::ConsoleEspia con;
    console::clrscr();
    console::textcolor(VERDE);
    // What was under the burst does not survive it.
    for (int row = 9; row <= 11; ++row) {
        console::gotoxy(37, row);
        console::printf("###");
    }
    std::vector<std::string> at_tone;
    con.platform.ao_tocar = [&](int, int) {
        for (int row = 9; row <= 11; ++row)
            at_tone.push_back(con.screen.text(37, row, 3));
    };
    screens::explosao(38, 10);

    EXPECT_EQ(at_tone, (std::vector<std::string>{"\\|/", "-*-", "/|\\"}));
    for (int row = 9; row <= 11; ++row)
        for (int col = 37; col <= 39; ++col)
            EXPECT_EQ(con.screen.at(col, row), (Cell{' ', BRANCO})) << col << "," << row;
    EXPECT_EQ(console::layer_state().FOREGROUND, BRANCO);
}

TEST(Explosion, TouchesOnlyTheRowsAroundItsCentre) {
    screens_test::ConsoleEspia con;
    console::clrscr();
    screens::explosao(20, 8);
    for (const auto& w : con.screen.escritas) {
        EXPECT_GE(w.linha, 7);
        EXPECT_LE(w.linha, 9);
        EXPECT_GE(w.coluna, 19);
        EXPECT_LE(w.coluna, 21);
        EXPECT_EQ(w.bytes.size(), 1u);
    }
    // Nine cells drawn, the centre twice (blank, then the star), nine wiped.
    EXPECT_EQ(con.screen.escritas.size(), 19u);
}

TEST(Explosion, PausesThenSoundsItsLowTone) {
    console::MemoryConsole con;
    screens::explosao(38, 10);
    EXPECT_EQ(con.platform.sleeps(), std::vector<int>{50});
    EXPECT_EQ(con.platform.tones(), (std::vector<Tone>{{100, 125, 50}}));
    EXPECT_EQ(con.platform.now_ms(), 175);
}

TEST(Tunes, PickUpPlaysTheWholeMelodyFast) {
    console::MemoryConsole con;
    screens::beeps2();
    const auto& tones = con.platform.tones();
    EXPECT_EQ(frequencies(tones), melody);
    EXPECT_EQ(durations(tones), fast);
    EXPECT_EQ(duracao(tones), 290);
    EXPECT_EQ(con.platform.now_ms(), 290);
    EXPECT_TRUE(con.platform.sleeps().empty());
}

TEST(Tunes, LifeLostPlaysTheSecondHalfFast) {
    console::MemoryConsole con;
    screens::beeps();
    const auto& tones = con.platform.tones();
    ASSERT_EQ(tones.size(), 9u);
    EXPECT_EQ(frequencies(tones), std::vector<int>(melody.begin() + 9, melody.end()));
    EXPECT_EQ(durations(tones), std::vector<int>(fast.begin() + 9, fast.end()));
    EXPECT_EQ(tones.back(), (Tone{440, 40, 100}));
    EXPECT_EQ(duracao(tones), 140);
}

TEST(Tunes, TitleVariantIsThePickUpFiveTimesSlower) {
    console::MemoryConsole con;
    screens::tune_titulo();
    const auto& tones = con.platform.tones();
    EXPECT_EQ(frequencies(tones), melody);
    std::vector<int> five_times;
    for (const int ms : fast)
        five_times.push_back(ms * 5);
    EXPECT_EQ(durations(tones), five_times);
    EXPECT_EQ(duracao(tones), 1450);
}

TEST(Tunes, CompletionVariantHoldsNotesElevenAndTwelveLonger) {
    console::MemoryConsole con;
    screens::tune_zerado();
    const auto& tones = con.platform.tones();
    EXPECT_EQ(frequencies(tones), melody);
    EXPECT_EQ(durations(tones), (std::vector<int>{150, 500, 150, 150, 500, 150, 150, 500, 1000, 150,
                                                  250, 250, 150, 500, 500, 150, 150, 1000}));
    EXPECT_EQ(duracao(tones), 6350);
    // Notes follow each other with no gap.
    for (std::size_t i = 1; i < tones.size(); ++i)
        EXPECT_EQ(tones[i].at_ms, tones[i - 1].at_ms + tones[i - 1].ms);
}

TEST(ConsoleSetUp, HidesTheCursorThenAsksForTheFullScreen) {
    console::MemoryConsole con;
    screens::ocultarampliar();
    using K = ConsoleRequest::Kind;
    EXPECT_EQ(con.platform.requests(), (std::vector<ConsoleRequest>{
                                           {K::cursor_info, 100, 0},
                                           {K::full_screen},
                                       }));
    EXPECT_EQ(con.screen.version(), 0u);
}

} // namespace
