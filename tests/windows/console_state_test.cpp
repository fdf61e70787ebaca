#include "console/windows/console_state.hpp"
#include "test_console_buffer.hpp"

namespace {

using ConsoleStateTest = console_test::ConsoleBufferTest;

CONSOLE_CURSOR_INFO cursor_info(HANDLE buffer) {
    CONSOLE_CURSOR_INFO info{};
    GetConsoleCursorInfo(buffer, &info);
    return info;
}

DWORD mode_of(HANDLE buffer) {
    DWORD mode = 0;
    GetConsoleMode(buffer, &mode);
    return mode;
}

TEST_F(ConsoleStateTest, WhatTheGameChangesComesBack) {
    const CONSOLE_CURSOR_INFO shown{40, TRUE};
    ASSERT_TRUE(SetConsoleCursorInfo(buffer(), &shown));
    SetConsoleTextAttribute(buffer(), 0x1e);
    const DWORD mode = mode_of(buffer());
    const console::ConsoleState found = console::capture_console(buffer(), nullptr);
    EXPECT_FALSE(found.has_input_mode);

    const CONSOLE_CURSOR_INFO hidden{100, FALSE};
    SetConsoleCursorInfo(buffer(), &hidden);
    SetConsoleTextAttribute(buffer(), 15);
    SetConsoleMode(buffer(), ENABLE_PROCESSED_OUTPUT);
    console::restore_console(found, buffer(), nullptr);

    EXPECT_EQ(cursor_info(buffer()).dwSize, 40u);
    EXPECT_TRUE(cursor_info(buffer()).bVisible);
    EXPECT_EQ(info().wAttributes, 0x1e);
    EXPECT_EQ(mode_of(buffer()), mode);
}

TEST_F(ConsoleStateTest, AnInputLeftRawByAnInterruptedKeyReadComesBack) {
    const HANDLE input =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    if (input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode))
        GTEST_SKIP() << "no console input";
    const console::ConsoleState found = console::capture_console(buffer(), input);
    SetConsoleMode(input, 0);
    console::restore_console(found, buffer(), input);
    DWORD now = 0;
    GetConsoleMode(input, &now);
    EXPECT_EQ(now, mode);
    CloseHandle(input);
}

TEST_F(ConsoleStateTest, DrawingModeWrapsAtTheEdgeAndTakesNoEscapes) {
    SetConsoleMode(buffer(), ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    const console::ConsoleState found = console::capture_console(buffer(), nullptr);
    console::set_drawing_mode(buffer(), found);
    const DWORD mode = mode_of(buffer());
    EXPECT_TRUE(mode & ENABLE_WRAP_AT_EOL_OUTPUT);
    EXPECT_FALSE(mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    EXPECT_TRUE(mode & ENABLE_PROCESSED_OUTPUT) << "the rest of the mode is kept";
}

// wine keeps no colour table (it reads back as zeros, whatever is set), so
// what runs here is what a set does around it: the window and the buffer
// keep their size, and leaving puts back the table found.
TEST_F(ConsoleStateTest, AFixedPaletteKeepsTheWindowAndLeavingPutsTheTableBack) {
    const console::ConsoleState found = console::capture_console(buffer(), nullptr);
    ASSERT_TRUE(found.has_colour_table);
    const CONSOLE_SCREEN_BUFFER_INFO before = info();

    console::set_palette_colours(buffer(), console::Palette::colour_blind);
    EXPECT_EQ(info().srWindow.Left, before.srWindow.Left);
    EXPECT_EQ(info().srWindow.Top, before.srWindow.Top);
    EXPECT_EQ(info().srWindow.Right, before.srWindow.Right);
    EXPECT_EQ(info().srWindow.Bottom, before.srWindow.Bottom);
    EXPECT_EQ(info().dwSize.X, before.dwSize.X);
    EXPECT_EQ(info().dwSize.Y, before.dwSize.Y);

    console::restore_console(found, buffer(), nullptr);
    CONSOLE_SCREEN_BUFFER_INFOEX now{};
    now.cbSize = sizeof now;
    ASSERT_TRUE(GetConsoleScreenBufferInfoEx(buffer(), &now));
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(now.ColorTable[i], found.colour_table[i]) << i;
    EXPECT_EQ(info().srWindow.Bottom, before.srWindow.Bottom);
}

} // namespace
