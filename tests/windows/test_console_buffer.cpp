#include "test_console_buffer.hpp"

namespace console_test {

void ConsoleBufferTest::SetUp() {
    buffer_ =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO probe{};
    if (buffer_ == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(buffer_, &probe))
        GTEST_SKIP() << "no console to test on";
    // The window must fit the buffer at every step: shrink it, grow the
    // buffer, then place it.
    const SMALL_RECT corner{0, 0, 0, 0};
    SetConsoleWindowInfo(buffer_, TRUE, &corner);
    ASSERT_TRUE(SetConsoleScreenBufferSize(buffer_, COORD{buffer_width, buffer_height}));
    const SMALL_RECT window{0, 0, buffer_width - 1, 49};
    ASSERT_TRUE(SetConsoleWindowInfo(buffer_, TRUE, &window));
    DWORD done = 0;
    FillConsoleOutputCharacterW(buffer_, L' ', buffer_width * buffer_height, COORD{0, 0}, &done);
    FillConsoleOutputAttribute(buffer_, 7, buffer_width * buffer_height, COORD{0, 0}, &done);
    SetConsoleTextAttribute(buffer_, 7);
    SetConsoleCursorPosition(buffer_, COORD{0, 0});
}

void ConsoleBufferTest::TearDown() {
    if (buffer_ != INVALID_HANDLE_VALUE)
        CloseHandle(buffer_);
}

wchar_t ConsoleBufferTest::char_at(int x, int y) const {
    return chars(x, y, 1)[0];
}

WORD ConsoleBufferTest::attr_at(int x, int y) const {
    WORD attr = 0;
    DWORD read = 0;
    ReadConsoleOutputAttribute(buffer_, &attr, 1,
                               COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}, &read);
    return attr;
}

std::wstring ConsoleBufferTest::chars(int x, int y, int length) const {
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(buffer_, text.data(), static_cast<DWORD>(length),
                                COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}, &read);
    text.resize(read);
    return text;
}

std::vector<CHAR_INFO> ConsoleBufferTest::rows(int top, int count) const {
    std::vector<CHAR_INFO> cells(static_cast<std::size_t>(buffer_width * count));
    SMALL_RECT region{0, static_cast<SHORT>(top), buffer_width - 1,
                      static_cast<SHORT>(top + count - 1)};
    ReadConsoleOutputW(buffer_, cells.data(),
                       COORD{static_cast<SHORT>(buffer_width), static_cast<SHORT>(count)},
                       COORD{0, 0}, &region);
    return cells;
}

console::Coord ConsoleBufferTest::cursor() const {
    const COORD at = info().dwCursorPosition;
    return console::Coord{at.X, at.Y};
}

CONSOLE_SCREEN_BUFFER_INFO ConsoleBufferTest::info() const {
    CONSOLE_SCREEN_BUFFER_INFO raw{};
    GetConsoleScreenBufferInfo(buffer_, &raw);
    return raw;
}

} // namespace console_test
