// The colours each palette tells the terminal, read from the renderer's
// bytes: what the player asked for reaches the terminal, and nothing else.
#include "console/ansi/ansi_colours.hpp"
#include "console/ansi/frame_renderer.hpp"
#include "console/palette.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using console::Palette;
using console::Rgb;
namespace ansi = console::ansi;

// The parameters of every SGR in `bytes`, one list each.
std::vector<std::vector<int>> sgr_params(const std::string& bytes) {
    std::vector<std::vector<int>> all;
    for (std::size_t at = bytes.find("\x1b["); at != std::string::npos;
         at = bytes.find("\x1b[", at + 2)) {
        std::size_t end = at + 2;
        while (end < bytes.size() && (bytes[end] < 0x40 || bytes[end] > 0x7e))
            ++end;
        if (end == bytes.size() || bytes[end] != 'm' || bytes[at + 2] == '?')
            continue;
        std::vector<int> params{0};
        for (std::size_t i = at + 2; i < end; ++i)
            if (bytes[i] == ';')
                params.push_back(0);
            else
                params.back() = params.back() * 10 + (bytes[i] - '0');
        all.push_back(params);
    }
    return all;
}

// A first frame and a run of changed frames, every colour pair in them.
std::string frames_in(ansi::Colours colours) {
    std::mt19937 gen(5);
    ansi::Grid grid(16, 16);
    for (int i = 0; i < 256; ++i)
        grid.cells[static_cast<std::size_t>(i)] =
            ansi::TermCell{static_cast<std::uint8_t>(gen()), static_cast<std::uint8_t>(i)};
    ansi::TerminalPicture shown = ansi::unknown_picture(16, 16);
    std::string bytes = ansi::render_frame(shown, grid, std::nullopt, {}, {}, colours);
    for (int frame = 0; frame < 50; ++frame) {
        for (int i = 0; i < 20; ++i)
            grid.cells[gen() % 256] =
                ansi::TermCell{static_cast<std::uint8_t>(gen()), static_cast<std::uint8_t>(gen())};
        bytes += ansi::render_frame(shown, grid, std::nullopt, {}, {}, colours);
    }
    return bytes;
}

TEST(Palettes, MonoWritesNoColourOnlyBoldForWhatIsDrawnGreen) {
    const std::vector<std::vector<int>> sgrs = sgr_params(frames_in({Palette::mono, true}));
    ASSERT_FALSE(sgrs.empty());
    for (const std::vector<int>& params : sgrs) {
        ASSERT_EQ(params.size(), 1u);
        EXPECT_TRUE(params[0] == 1 || params[0] == 22) << params[0];
    }
    // The charged special-shot mark turns from red to green: bold, and back.
    const ansi::Pen red{4, 0};
    const ansi::Pen green{2, 0};
    const ansi::Pen white{15, 0};
    EXPECT_EQ(ansi::sgr_change(&red, green, {Palette::mono}), "\x1b[1m");
    EXPECT_EQ(ansi::sgr_change(&green, red, {Palette::mono}), "\x1b[22m");
    EXPECT_EQ(ansi::sgr_change(&red, white, {Palette::mono}), "");
}

TEST(Palettes, FixedAndColourBlindWriteOnlyTrueColourOrTheCubeNeverTheTheme) {
    for (const Palette palette : {Palette::fixed, Palette::colour_blind})
        for (const bool truecolour : {true, false}) {
            const std::vector<std::vector<int>> sgrs = sgr_params(frames_in({palette, truecolour}));
            ASSERT_FALSE(sgrs.empty());
            for (const std::vector<int>& params : sgrs) {
                std::size_t i = 0;
                while (i < params.size()) {
                    ASSERT_TRUE(params[i] == 38 || params[i] == 48) << params[i];
                    ASSERT_LT(i + 1, params.size());
                    if (truecolour) {
                        ASSERT_EQ(params[i + 1], 2);
                        ASSERT_LE(i + 4, params.size() - 1);
                        i += 5;
                    } else {
                        ASSERT_EQ(params[i + 1], 5);
                        EXPECT_GE(params[i + 2], 16) << "a themed colour";
                        i += 3;
                    }
                }
            }
        }
    EXPECT_EQ(ansi::sgr_change(nullptr, ansi::Pen{4, 0}, {Palette::fixed, true}),
              "\x1b[38;2;170;0;0;48;2;0;0;0m");
    EXPECT_EQ(ansi::sgr_change(nullptr, ansi::Pen{14, 1}, {Palette::fixed, false}),
              "\x1b[38;5;227;48;5;19m");
}

TEST(Palettes, NearestCubeEntriesAreTheClosest) {
    EXPECT_EQ(ansi::nearest_256(Rgb{0, 0, 0}), 16);
    EXPECT_EQ(ansi::nearest_256(Rgb{255, 255, 255}), 231);
    EXPECT_EQ(ansi::nearest_256(Rgb{170, 0, 0}), 124);     // 175, 0, 0
    EXPECT_EQ(ansi::nearest_256(Rgb{85, 85, 85}), 240);    // grey 88
    EXPECT_EQ(ansi::nearest_256(Rgb{170, 170, 170}), 248); // grey 168
}

TEST(Palettes, ColourBlindKeepsNoRedAgainstGreen) {
    // Ships green, meteors and the uncharged mark red: both must move off
    // the red-green axis, and differ in lightness too.
    const Rgb ship = console::rgb_of(Palette::colour_blind, 2);
    const Rgb meteor = console::rgb_of(Palette::colour_blind, 4);
    EXPECT_GT(ship.blue, ship.green / 2);
    EXPECT_GT(meteor.red, meteor.blue + 100);
    const auto lightness = [](Rgb c) { return 2 * c.red + 7 * c.green + c.blue; };
    EXPECT_GT(lightness(ship) - lightness(meteor), 300);
    // The rest is the classic console's.
    EXPECT_EQ(console::rgb_of(Palette::colour_blind, 14), console::rgb_of(Palette::fixed, 14));
}

TEST(Palettes, TheEnvironmentChoosesOnlyWhenThePlayerDidNot) {
    using console::palette_for;
    EXPECT_EQ(palette_for(std::nullopt, nullptr, 8), Palette::console);
    EXPECT_EQ(palette_for(std::nullopt, "", 256), Palette::console);
    EXPECT_EQ(palette_for(std::nullopt, "1", 256), Palette::mono);
    EXPECT_EQ(palette_for(std::nullopt, nullptr, 0), Palette::mono); // TERM=vt100
    EXPECT_EQ(palette_for(std::nullopt, nullptr, -1), Palette::mono);
    EXPECT_EQ(palette_for(Palette::fixed, "1", -1), Palette::fixed);
    EXPECT_EQ(palette_for(Palette::console, "1", 256), Palette::console);
    EXPECT_TRUE(ansi::says_truecolour("truecolor"));
    EXPECT_TRUE(ansi::says_truecolour("24bit"));
    EXPECT_FALSE(ansi::says_truecolour("yes"));
    EXPECT_FALSE(ansi::says_truecolour(nullptr));
}

} // namespace
