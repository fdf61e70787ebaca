#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include <gtest/gtest.h>

using namespace console;

namespace {

struct TextLayer : ::testing::Test {
    MemoryConsole con;
};

TEST_F(TextLayer, ClearBeforeAnyColourPaintsLightGreyAndKeepsTheConsoleAttribute) {
    con.screen.set_attribute(0x1e);
    con.screen.write("xyz");
    clrscr();
    for (int row = 1; row <= 50; ++row)
        for (int col = 1; col <= 80; ++col)
            ASSERT_EQ(con.screen.at(col, row), (Cell{' ', 7})) << col << "," << row;
    EXPECT_EQ(con.screen.attribute(), 0x1e);
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 0}));
}

TEST_F(TextLayer, ClearPaintsWithTheLayersColoursNotTheConsoles) {
    textbackground(1);
    textcolor(14);
    con.screen.set_attribute(0x47); // someone else changed the console's attribute
    clrscr();
    EXPECT_EQ(con.screen.at(1, 1), (Cell{' ', 30}));
    EXPECT_EQ(con.screen.at(80, 50), (Cell{' ', 30}));
    EXPECT_EQ(con.screen.attribute(), 0x47);
}

TEST_F(TextLayer, AttributesAreBackgroundTimesSixteenPlusForeground) {
    textbackground(0);
    textcolor(2);
    EXPECT_EQ(con.screen.attribute(), 2);
    textcolor(15);
    EXPECT_EQ(con.screen.attribute(), 15);
    textbackground(1);
    textcolor(14);
    EXPECT_EQ(con.screen.attribute(), 30);
    EXPECT_EQ(layer_state().FOREGROUND, 14);
    EXPECT_EQ(layer_state().BACKGROUND, 1);
}

TEST_F(TextLayer, ColourAboveFifteenSpillsIntoTheBackground) {
    textbackground(0);
    textcolor(17);
    EXPECT_EQ(con.screen.attribute(), 17);
    console::printf("%c", 'x');
    EXPECT_EQ(con.screen.cell(0, 0), (Cell{'x', 17})); // blue on blue
}

TEST_F(TextLayer, BeforeTheFirstClearCoordinatesCountFromTheBufferCorner) {
    con.screen.set_window(Rect{0, 30, 79, 79});
    gotoxy(1, 1);
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 0}));
}

TEST_F(TextLayer, WindowScrolledDownToRowThirty) {
    for (int y = 0; y < 300; ++y) {
        con.screen.set_cursor(Coord{0, static_cast<std::int16_t>(y)});
        con.screen.write("#");
    }
    con.screen.set_window(Rect{0, 30, 79, 79});
    clrscr();
    EXPECT_EQ(con.screen.cell(0, 29).ch, '#');
    EXPECT_EQ(con.screen.cell(0, 30).ch, ' ');
    EXPECT_EQ(con.screen.cell(0, 79).ch, ' ');
    EXPECT_EQ(con.screen.cell(0, 80).ch, '#');
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 30}));
    EXPECT_EQ(layer_state().CONIO_TOP, 30);
    EXPECT_EQ(layer_state().text_info.winheight, 50);
    EXPECT_EQ(layer_state().text_info.winwidth, 80);

    gotoxy(1, 1);
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 30}));
    gotoxy(80, 50);
    EXPECT_EQ(con.screen.cursor(), (Coord{79, 79}));
}

TEST_F(TextLayer, ClearLeavesCellsOutsideTheWindowAlone) {
    MemoryScreen wide(120, 100);
    MemoryPlatform keys;
    Installation here(wide, keys);
    wide.set_cursor(Coord{100, 5});
    wide.write("R");
    wide.set_window(Rect{10, 2, 89, 51});
    clrscr();
    EXPECT_EQ(wide.cell(100, 5).ch, 'R');
    EXPECT_EQ(wide.cell(9, 5).attr, 7);
    EXPECT_EQ(wide.cursor(), (Coord{10, 2}));
    gotoxy(3, 4);
    EXPECT_EQ(wide.cursor(), (Coord{12, 5}));
}

TEST_F(TextLayer, CursorMoveOutsideTheBufferFailsAndOutputLandsWhereTheCursorWas) {
    clrscr();
    gotoxy(5, 5);
    gotoxy(0, 1); // column -1
    EXPECT_EQ(con.screen.cursor(), (Coord{4, 4}));
    console::printf("%c", 'Q');
    EXPECT_EQ(con.screen.at(5, 5).ch, 'Q');
}

TEST_F(TextLayer, ClearTwiceIsClearOnce) {
    textcolor(2);
    console::printf("abc");
    clrscr();
    const std::string once = con.screen.row_text(1);
    const auto cursor = con.screen.cursor();
    clrscr();
    EXPECT_EQ(con.screen.row_text(1), once);
    EXPECT_EQ(con.screen.cursor(), cursor);
    EXPECT_EQ(con.screen.at(1, 1), (Cell{' ', 2}));
}

TEST_F(TextLayer, TextInfoRecordsTheCursorAndAttributeModulo256) {
    MemoryScreen wide(300, 300);
    MemoryPlatform keys;
    Installation here(wide, keys);
    wide.set_window(Rect{0, 0, 299, 259});
    wide.set_cursor(Coord{7, 3});
    wide.set_attribute(0x2a);
    clrscr();
    EXPECT_EQ(layer_state().text_info.cursorcol, 8);
    EXPECT_EQ(layer_state().text_info.cursorrow, 4);
    EXPECT_EQ(layer_state().text_info.currattr, 0x2a);
    EXPECT_EQ(layer_state().text_info.winwidth, 300 % 256);
    EXPECT_EQ(layer_state().text_info.winheight, 260 % 256);
}

TEST_F(TextLayer, WritesAdvanceTheCursorAndWrapAtTheBufferEdge) {
    clrscr();
    gotoxy(79, 1);
    console::printf("ab");
    EXPECT_EQ(con.screen.at(79, 1).ch, 'a');
    EXPECT_EQ(con.screen.at(80, 1).ch, 'b');
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 1}));
}

TEST_F(TextLayer, LowBytesAreGlyphsNotControls) {
    clrscr();
    gotoxy(10, 10);
    console::printf("%c%c%c%c", 12, 10, 13, 8);
    EXPECT_EQ(con.screen.text(10, 10, 4), std::string("\x0c\x0a\x0d\x08"));
    EXPECT_EQ(con.screen.cursor(), (Coord{13, 9}));
}

// Observers skip the rows whose version is old: a row changed and not
// marked would never reach the terminal.
TEST(CellScreenRows, EveryRowAChangeReachesIsMarkedAndNoOther) {
    CellScreen screen(10, 4);
    const auto marked_since = [&](std::uint64_t v) {
        std::string rows;
        for (int y = 0; y < screen.height(); ++y)
            rows += screen.row_version(y) > v ? '1' : '0';
        return rows;
    };
    std::uint64_t v = screen.version();
    screen.fill_character('x', 12, Coord{5, 0}); // runs on into row 1
    EXPECT_EQ(marked_since(v), "1100");
    v = screen.version();
    screen.fill_attribute(2, 5, Coord{5, 2}); // ends at the row's end
    EXPECT_EQ(marked_since(v), "0010");
    v = screen.version();
    screen.set_cursor(Coord{8, 1});
    screen.write("abc"); // wraps
    EXPECT_EQ(marked_since(v), "0110");
    v = screen.version();
    screen.set_cursor(Coord{9, 3});
    screen.write("zz"); // scrolls every row
    EXPECT_EQ(marked_since(v), "1111");
}

} // namespace
