#include "console/glyphs.hpp"
#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "console/windows/windows_screen.hpp"
#include "test_console_buffer.hpp"

#include <optional>
#include <string>

namespace {

using console_test::ConsoleBufferTest;

std::string all_bytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

struct WindowsScreenTest : ConsoleBufferTest {
    void SetUp() override {
        ConsoleBufferTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        screen.emplace(buffer());
    }
    std::optional<console::WindowsScreen> screen;
};

TEST_F(WindowsScreenTest, InfoReportsSizeCursorAttributeAndWindow) {
    SetConsoleCursorPosition(buffer(), COORD{12, 34});
    SetConsoleTextAttribute(buffer(), 0x1e);
    const console::BufferInfo info = screen->info();
    EXPECT_EQ(info.size, (console::Coord{80, 300}));
    EXPECT_EQ(info.cursor, (console::Coord{12, 34}));
    EXPECT_EQ(info.attribute, 0x1e);
    EXPECT_EQ(info.window, (console::Rect{0, 0, 79, 49}));
}

TEST_F(WindowsScreenTest, EveryByteIsItsGlyphInOneCellWhateverTheCodePage) {
    screen->set_attribute(0x2c);
    screen->write(all_bytes());
    const std::wstring shown = chars(0, 0, 256);
    ASSERT_EQ(shown.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<char32_t>(shown[static_cast<std::size_t>(b)]),
                  console::glyph_unicode(static_cast<std::uint8_t>(b)))
            << "byte " << b;
        EXPECT_EQ(attr_at(b % 80, b / 80), 0x2c) << "byte " << b;
    }
    // 256 cells: three full rows wrapped, then 16 more.
    EXPECT_EQ(cursor(), (console::Coord{16, 3}));
}

TEST_F(WindowsScreenTest, ControlBytesNeitherMoveTheCursorNorRing) {
    SetConsoleCursorPosition(buffer(), COORD{10, 2});
    screen->write("\a\b\t\n\r\x1b");
    EXPECT_EQ(cursor(), (console::Coord{16, 2}));
    EXPECT_EQ(chars(10, 2, 6), L"\u2022\u25D8\u25CB\u25D9\u266A\u2190");
    EXPECT_EQ(char_at(9, 2), L' ');
    EXPECT_EQ(char_at(0, 3), L' ');
}

TEST_F(WindowsScreenTest, WritingPastTheRightEdgeWrapsToTheNextRow) {
    SetConsoleCursorPosition(buffer(), COORD{78, 5});
    screen->write("abc");
    EXPECT_EQ(chars(78, 5, 2), L"ab");
    EXPECT_EQ(char_at(0, 6), L'c');
    EXPECT_EQ(cursor(), (console::Coord{1, 6}));

    SetConsoleCursorPosition(buffer(), COORD{79, 7});
    screen->write("z");
    EXPECT_EQ(cursor(), (console::Coord{0, 8}));
}

TEST_F(WindowsScreenTest, FillsChangeOneHalfOfEachCellOnly) {
    SetConsoleTextAttribute(buffer(), 0x4f);
    screen->write("hello");
    screen->fill_attribute(0x12, 3, console::Coord{1, 0});
    EXPECT_EQ(chars(0, 0, 5), L"hello");
    EXPECT_EQ(attr_at(0, 0), 0x4f);
    EXPECT_EQ(attr_at(1, 0), 0x12);
    EXPECT_EQ(attr_at(3, 0), 0x12);
    EXPECT_EQ(attr_at(4, 0), 0x4f);

    screen->fill_character(205, 2, console::Coord{2, 0});
    EXPECT_EQ(chars(0, 0, 5), L"he\u2550\u2550o");
    EXPECT_EQ(attr_at(2, 0), 0x12);
    EXPECT_EQ(attr_at(4, 0), 0x4f);
}

TEST_F(WindowsScreenTest, CursorMovesOutsideTheBufferFailAndLeaveItWhereItWas) {
    ASSERT_TRUE(screen->set_cursor(console::Coord{5, 5}));
    EXPECT_FALSE(screen->set_cursor(console::Coord{-1, 0}));
    EXPECT_FALSE(screen->set_cursor(console::Coord{80, 0}));
    EXPECT_FALSE(screen->set_cursor(console::Coord{0, 300}));
    EXPECT_EQ(cursor(), (console::Coord{5, 5}));
    EXPECT_TRUE(screen->set_cursor(console::Coord{79, 299}));
    EXPECT_EQ(cursor(), (console::Coord{79, 299}));
}

// The same drawing through the text layer, once on the in-memory console the
// other tests trust and once on the real one: every cell of the buffer and
// the cursor must agree.
void draw_a_scene() {
    console::clrscr();
    console::textcolor(14);
    console::gotoxy(1, 1);
    console::printf("%c%c%c", 201, 205, 187);
    console::gotoxy(78, 2);
    console::printf("wrap%i", 42); // runs off the right edge
    console::textbackground(1);
    console::textcolor(17); // spills into the background
    console::gotoxy(40, 50);
    console::printf("%c%c%c%c", 190, 12, 15, 3);
    console::gotoxy(0, 1); // outside the buffer: stays put
    console::printf("%s", "!");
    console::textcolor(15);
    console::textbackground(0);
    console::gotoxy(3, 20);
    console::puts("nome");
    console::printf("%c", 2);
}

TEST_F(WindowsScreenTest, TextLayerDrawsTheSamePictureAsOnTheInMemoryConsole) {
    // A window scrolled down the buffer, with something above and below it.
    // (The console scrolls its window to follow the cursor, so the window is
    // placed once the cursor is back inside it.)
    console::MemoryScreen memory(80, 300);
    for (const std::int16_t row : {29, 80}) {
        memory.set_cursor(console::Coord{0, row});
        memory.write("keep");
        screen->set_cursor(console::Coord{0, row});
        screen->write("keep");
    }
    memory.set_cursor(console::Coord{0, 40});
    screen->set_cursor(console::Coord{0, 40});
    memory.set_window(console::Rect{0, 30, 79, 79});
    const SMALL_RECT window{0, 30, 79, 79};
    ASSERT_TRUE(SetConsoleWindowInfo(buffer(), TRUE, &window));

    console::MemoryPlatform keys;
    {
        const console::Installation on(memory, keys);
        draw_a_scene();
    }
    {
        const console::Installation on(*screen, keys);
        draw_a_scene();
    }

    const std::vector<CHAR_INFO> shown = rows(0, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 80; ++x) {
            const console::Cell expected = memory.cell(x, y);
            const CHAR_INFO& cell = shown[static_cast<std::size_t>(y * 80 + x)];
            ASSERT_EQ(static_cast<char32_t>(cell.Char.UnicodeChar),
                      console::glyph_unicode(expected.ch))
                << x << "," << y;
            ASSERT_EQ(cell.Attributes, expected.attr) << x << "," << y;
        }
    EXPECT_EQ(cursor(), memory.cursor());
    EXPECT_EQ(screen->info().window, memory.window());
    EXPECT_EQ(screen->info().attribute, memory.attribute());
}

TEST_F(WindowsScreenTest, MonoGivesTheConsoleGreyOrBrightWhiteOnBlackOnly) {
    console::WindowsScreen mono(buffer(), console::Palette::mono);
    mono.set_attribute(0x42); // green on red: the charged mark's green
    mono.write("a");
    mono.set_attribute(0x14); // red on blue
    mono.write("b");
    mono.fill_attribute(0x2e, 3, console::Coord{5, 0});
    EXPECT_EQ(attr_at(0, 0), 15);
    EXPECT_EQ(attr_at(1, 0), 7);
    EXPECT_EQ(attr_at(5, 0), 7);
    EXPECT_EQ(attr_at(7, 0), 7);
}

} // namespace
