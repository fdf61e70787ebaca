// The renderer's exact output: what it moves, what colours it sets, what it
// leaves out.
#include "console/ansi/frame_renderer.hpp"
#include "picture_showing.hpp"

#include <gtest/gtest.h>

namespace {

using console::ansi::cursor_move;
using console::ansi::Grid;
using console::ansi::Point;
using console::ansi::render_frame;
using console::ansi::TermCell;
using console::ansi::TerminalPicture;
using console::ansi::unknown_picture;

using teste::showing;

TEST(RendererFirstFrame, WritesEveryCellHidingTheCursorFirst) {
    const Grid grid(3, 2);
    TerminalPicture shown = unknown_picture(3, 2);
    EXPECT_EQ(render_frame(shown, grid, std::nullopt),
              "\x1b[?25l"
              // a blank row is erased, and the cursor stays put for the LF;
              // on the last row three blanks are as short as EL
              "\x1b[H\x1b[37;40m\x1b[K\n   ");
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "");
}

TEST(RendererChanges, NextCellNeedsNoMoveAndSameColourNoSgr) {
    Grid grid(10, 3);
    TerminalPicture shown = showing(grid);
    grid.set(2, 1, TermCell{'a', 7});
    grid.set(3, 1, TermCell{'b', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[2;3H\x1b[37;40mab");
    grid.set(4, 1, TermCell{'c', 7});
    // The cursor is known to sit after "ab" and the pen is light grey.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "c");
}

TEST(RendererChanges, SetsOnlyTheColourThatChanged) {
    Grid grid(10, 3);
    TerminalPicture shown = showing(grid);
    grid.set(0, 0, TermCell{'a', 0x02});
    grid.set(1, 0, TermCell{'b', 0x0e});
    grid.set(2, 0, TermCell{'c', 0x1e});
    grid.set(3, 0, TermCell{'d', 0x1e});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[H\x1b[32;40ma\x1b[93mb\x1b[44mcd");
}

TEST(RendererChanges, RewritesAShortGapInsteadOfMoving) {
    Grid grid(20, 3);
    TerminalPicture shown = showing(grid);
    grid.set(0, 0, TermCell{'a', 7});
    grid.set(2, 0, TermCell{'b', 7});
    // One blank in the current pen (1 byte) beats "\x1b[C" (3 bytes).
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[H\x1b[37;40ma b");
    grid.set(3, 0, TermCell{'c', 7});
    grid.set(9, 0, TermCell{'d', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "c\x1b[5Cd");
}

TEST(RendererChanges, DoesNotRewriteAGapInAnotherColour) {
    Grid grid(20, 3);
    grid.set(1, 0, TermCell{' ', 0x02});
    TerminalPicture shown = showing(grid);
    grid.set(0, 0, TermCell{'a', 7});
    grid.set(2, 0, TermCell{'b', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[H\x1b[37;40ma\x1b[Cb");
}

TEST(RendererChanges, AfterTheLastColumnMovesAbsolutely) {
    Grid grid(4, 3);
    TerminalPicture shown = showing(grid);
    grid.set(3, 0, TermCell{'x', 7});
    grid.set(0, 1, TermCell{'y', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[1;4H\x1b[37;40mx\x1b[2Hy");
}

TEST(RendererGlyphs, EveryByteIsItsGlyphNeverAControlCode) {
    Grid grid(8, 1);
    TerminalPicture shown = showing(grid);
    const std::uint8_t bytes[] = {205, 186, 1, 3, 10, 13, 27, 190};
    for (int x = 0; x < 8; ++x)
        grid.set(x, 0, TermCell{bytes[x], 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[H\x1b[37;40m═║☺♥◙♪←¥");
}

TEST(RendererCursor, ShownWhereTheGameLeftIt) {
    Grid grid(10, 5);
    TerminalPicture shown = showing(grid);
    EXPECT_EQ(render_frame(shown, grid, Point{4, 2}), "\x1b[3;5H\x1b[?25h");
    EXPECT_EQ(render_frame(shown, grid, Point{4, 2}), "");
    grid.set(5, 2, TermCell{'a', 7});
    // Written from where the cursor already is, and it ends after the 'a'.
    EXPECT_EQ(render_frame(shown, grid, Point{6, 2}), "\x1b[C\x1b[37;40ma");
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[?25l");
    // Off the window: shown, wherever it is.
    EXPECT_EQ(render_frame(shown, grid, Point{3, 9}), "\x1b[?25h");
}

TEST(RendererResize, ANewSizeRepaintsEverything) {
    Grid grid(2, 1);
    TerminalPicture shown = showing(grid);
    const Grid bigger(3, 1);
    EXPECT_EQ(render_frame(shown, bigger, std::nullopt), "\x1b[H\x1b[37;40m   ");
}

TEST(RendererBlanks, ErasesARunAtTheRowsEndWithEl) {
    Grid grid(30, 3, TermCell{'x', 7});
    TerminalPicture shown = showing(grid);
    for (int x = 12; x < 30; ++x)
        grid.set(x, 1, TermCell{' ', 7});
    grid.set(3, 2, TermCell{'y', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[2;13H\x1b[37;40m\x1b[K\n\x1b[4Gy");
    // The terminal now shows those blanks: nothing to write again.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "");
}

TEST(RendererBlanks, ErasesARunInMidRowWithEchAndMovesPastIt) {
    Grid grid(40, 2, TermCell{'x', 7});
    TerminalPicture shown = showing(grid);
    for (int x = 5; x < 25; ++x)
        grid.set(x, 0, TermCell{' ', 7});
    grid.set(25, 0, TermCell{'a', 7});
    // ECH leaves the cursor at the run's start: a move reaches the 'a'.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[1;6H\x1b[37;40m\x1b[20X\x1b[26Ga");
    // Only the changed part of a run of blanks is erased.
    grid.set(2, 1, TermCell{' ', 7});
    grid.set(3, 1, TermCell{' ', 7});
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\n\x1b[3G  ");
}

TEST(RendererBlanks, KeepsAShortRunAsBlanks) {
    Grid grid(40, 2, TermCell{'x', 7});
    TerminalPicture shown = showing(grid);
    for (int x = 5; x < 11; ++x)
        grid.set(x, 0, TermCell{' ', 7});
    grid.set(11, 0, TermCell{'a', 7});
    // "\x1b[6X\x1b[6C" is 8 bytes against six blanks.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\x1b[1;6H\x1b[37;40m      a");
    for (int x = 37; x < 40; ++x)
        grid.set(x, 1, TermCell{' ', 7});
    // At the row's end EL is as long as three blanks.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt), "\n\x1b[38G   ");
}

TEST(RendererBlanks, EraseInTheBlanksOwnBackground) {
    Grid grid(40, 3, TermCell{'x', 7});
    TerminalPicture shown = showing(grid);
    for (int x = 0; x < 40; ++x)
        grid.set(x, 0, TermCell{' ', 0x1f});
    for (int x = 10; x < 30; ++x)
        grid.set(x, 1, TermCell{' ', 0x4f});
    for (int x = 30; x < 40; ++x)
        grid.set(x, 1, TermCell{' ', 0x0f});
    // Each erase runs in the pen set for it, and stops where the
    // background changes.
    EXPECT_EQ(render_frame(shown, grid, std::nullopt),
              "\x1b[H\x1b[97;44m\x1b[K\n\x1b[11G\x1b[41m\x1b[20X\x1b[31G\x1b[40m\x1b[K");
}

TEST(CursorMoves, PickTheShortestForm) {
    EXPECT_EQ(cursor_move(std::nullopt, Point{0, 0}), "\x1b[H");
    EXPECT_EQ(cursor_move(std::nullopt, Point{0, 4}), "\x1b[5H");
    EXPECT_EQ(cursor_move(std::nullopt, Point{14, 19}), "\x1b[20;15H");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{5, 3}), "");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{6, 3}), "\x1b[C");
    EXPECT_EQ(cursor_move(Point{50, 3}, Point{52, 3}), "\x1b[2C");
    EXPECT_EQ(cursor_move(Point{50, 3}, Point{5, 3}), "\x1b[6G");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{4, 3}), "\b");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{0, 3}), "\r");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{0, 4}), "\n\r");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{5, 5}), "\n\n");
    EXPECT_EQ(cursor_move(Point{5, 3}, Point{5, 2}), "\x1b[A");
    EXPECT_EQ(cursor_move(Point{70, 3}, Point{2, 40}), "\x1b[41;3H");
}

} // namespace
