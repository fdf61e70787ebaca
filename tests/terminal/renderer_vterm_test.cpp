// The renderer's output read by a real terminal emulator: after any frame
// the terminal must show exactly the cells the game drew.
#include "console/ansi/ansi_colours.hpp"
#include "console/ansi/frame_renderer.hpp"
#include "console/glyphs.hpp"
#include "console/posix/terminal_modes.hpp"

#include "vterm_screen.hpp"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace console::posix;
using namespace console::ansi;
namespace ansi = console::ansi;
using terminal_test::VtermScreen;

void expect_shows(const VtermScreen& vt, const Grid& grid) {
    int mismatches = 0;
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x) {
            const TermCell want = grid.at(x, y);
            const auto seen = vt.cell(x, y);
            const Pen pen = pen_of(want.attr);
            const bool same = seen.ch == console::glyph_unicode(want.ch) && seen.width == 1 &&
                              seen.foreground == ansi::ansi_index(pen.foreground) &&
                              seen.background == ansi::ansi_index(pen.background);
            if (!same && ++mismatches <= 5)
                ADD_FAILURE() << "cell " << x << "," << y << ": byte " << int{want.ch} << " attr "
                              << int{want.attr} << ", seen U+" << std::hex
                              << static_cast<std::uint32_t>(seen.ch) << std::dec << " fg "
                              << seen.foreground << " bg " << seen.background;
        }
    EXPECT_EQ(mismatches, 0);
}

TermCell random_cell(std::mt19937& gen) {
    return TermCell{static_cast<std::uint8_t>(gen()), static_cast<std::uint8_t>(gen())};
}

TEST(RendererOnATerminal, EveryByteAndEveryColourShowsAsDrawn) {
    ansi::Grid grid(80, 50);
    for (int i = 0; i < 80 * 50; ++i)
        grid.cells[static_cast<std::size_t>(i)] = ansi::TermCell{
            static_cast<std::uint8_t>(i % 256), static_cast<std::uint8_t>(i / 7 % 256)};
    VtermScreen vt(80, 50);
    vt.feed(enter_sequence());
    ansi::TerminalPicture shown = unknown_picture(80, 50);
    vt.feed(ansi::render_frame(shown, grid, std::nullopt));
    expect_shows(vt, grid);
    EXPECT_FALSE(vt.cursor_visible());
}

TEST(RendererOnATerminal, StaysTrueThroughRandomChanges) {
    std::mt19937 gen(2024);
    ansi::Grid grid(80, 49);
    VtermScreen vt(80, 49);
    vt.feed(enter_sequence());
    ansi::TerminalPicture shown = unknown_picture(80, 49);
    vt.feed(ansi::render_frame(shown, grid, std::nullopt));
    for (int frame = 0; frame < 300; ++frame) {
        const int changes = static_cast<int>(gen() % 40);
        for (int i = 0; i < changes; ++i) {
            const int x = static_cast<int>(gen() % 80);
            const int y = static_cast<int>(gen() % 49);
            // Runs too, in few colours, like text and the frame's lines.
            const int run = gen() % 4 == 0 ? static_cast<int>(gen() % 12) : 1;
            const TermCell c{static_cast<std::uint8_t>(gen()),
                             static_cast<std::uint8_t>(gen() % 2 ? 7 : gen() % 256)};
            for (int k = 0; k < run && x + k < 80; ++k)
                grid.set(x + k, y, gen() % 3 ? c : random_cell(gen));
        }
        if (frame % 50 == 7) // the corners, the last cell above all
            for (const auto& [x, y] : {std::pair{0, 0}, {79, 0}, {0, 48}, {79, 48}})
                grid.set(x, y, random_cell(gen));
        const bool cursor_shown = frame % 10 == 3;
        const std::optional<ansi::Point> cursor =
            cursor_shown ? std::optional<ansi::Point>(ansi::Point{static_cast<int>(gen() % 80),
                                                                  static_cast<int>(gen() % 49)})
                         : std::nullopt;
        vt.feed(ansi::render_frame(shown, grid, cursor));
        expect_shows(vt, grid);
        EXPECT_EQ(vt.cursor_visible(), cursor_shown);
        if (cursor) {
            EXPECT_EQ(vt.cursor_x(), cursor->x);
            EXPECT_EQ(vt.cursor_y(), cursor->y);
        }
        if (HasFailure())
            FAIL() << "after frame " << frame;
    }
}

TEST(RendererOnATerminal, ErasedBlanksTakeTheirOwnColours) {
    std::mt19937 gen(99);
    ansi::Grid grid(80, 49);
    for (auto& c : grid.cells)
        c = random_cell(gen);
    VtermScreen vt(80, 49);
    vt.feed(enter_sequence());
    ansi::TerminalPicture shown = unknown_picture(80, 49);
    vt.feed(ansi::render_frame(shown, grid, std::nullopt));
    for (int frame = 0; frame < 100; ++frame) {
        // Long runs of blanks, to the row's end or not, in a few colours.
        for (int i = 0; i < 6; ++i) {
            const int x = static_cast<int>(gen() % 80);
            const int y = static_cast<int>(gen() % 49);
            const int run = static_cast<int>(gen() % 2 ? 80 : gen() % 30);
            const std::uint8_t attrs[] = {0x07, 0x0f, 0x1f, 0x4e, 0x70};
            const TermCell blank{static_cast<std::uint8_t>(gen() % 2 ? ' ' : 0), attrs[gen() % 5]};
            for (int k = 0; k < run && x + k < 80; ++k)
                grid.set(x + k, y, blank);
            grid.set(static_cast<int>(gen() % 80), y, random_cell(gen));
        }
        vt.feed(ansi::render_frame(shown, grid, std::nullopt));
        expect_shows(vt, grid);
        if (HasFailure())
            FAIL() << "after frame " << frame;
    }
}

TEST(RendererOnATerminal, ARepaintAfterTheTerminalWasClearedRestoresIt) {
    std::mt19937 gen(7);
    ansi::Grid grid(80, 49);
    for (auto& c : grid.cells)
        c = random_cell(gen);
    VtermScreen vt(80, 49);
    vt.feed(enter_sequence());
    ansi::TerminalPicture shown = unknown_picture(80, 49);
    vt.feed(ansi::render_frame(shown, grid, std::nullopt));
    vt.feed("\x1b[0m\x1b[2J");
    ansi::forget_cells(shown);
    vt.feed(ansi::render_frame(shown, grid, std::nullopt));
    expect_shows(vt, grid);
}

} // namespace
