#include "console/windows/windows_screen.hpp"

#include "console/glyphs.hpp"
#include "console/windows/console_lock.hpp"

#include <windows.h>

#include <string>

namespace console {
namespace {

COORD to_coord(Coord c) {
    return COORD{c.x, c.y};
}

DWORD to_count(int count) {
    return count > 0 ? static_cast<DWORD>(count) : 0;
}

} // namespace

void* WindowsScreen::handle() const {
    return handle_ != nullptr ? handle_ : GetStdHandle(STD_OUTPUT_HANDLE);
}

BufferInfo WindowsScreen::info() const {
    CONSOLE_SCREEN_BUFFER_INFO raw{};
    {
        const ConsoleLock hold;
        GetConsoleScreenBufferInfo(handle(), &raw);
    }
    BufferInfo info;
    info.size = Coord{raw.dwSize.X, raw.dwSize.Y};
    info.cursor = Coord{raw.dwCursorPosition.X, raw.dwCursorPosition.Y};
    info.attribute = raw.wAttributes;
    info.window =
        Rect{raw.srWindow.Left, raw.srWindow.Top, raw.srWindow.Right, raw.srWindow.Bottom};
    return info;
}

void WindowsScreen::fill_attribute(std::uint16_t attribute, int count, Coord from) {
    const ConsoleLock hold;
    DWORD done = 0;
    FillConsoleOutputAttribute(handle(), attribute_shown(palette_, attribute), to_count(count),
                               to_coord(from), &done);
}

void WindowsScreen::fill_character(std::uint8_t ch, int count, Coord from) {
    const ConsoleLock hold;
    DWORD done = 0;
    FillConsoleOutputCharacterW(handle(), static_cast<WCHAR>(glyph_unicode(ch)), to_count(count),
                                to_coord(from), &done);
}

bool WindowsScreen::set_cursor(Coord to) {
    const ConsoleLock hold;
    return SetConsoleCursorPosition(handle(), to_coord(to)) != 0;
}

void WindowsScreen::set_attribute(std::uint16_t attribute) {
    const ConsoleLock hold;
    SetConsoleTextAttribute(handle(), attribute_shown(palette_, attribute));
}

void WindowsScreen::write(std::string_view bytes) {
    // Every glyph of the table lies in the Basic Multilingual Plane: one
    // UTF-16 unit, one cell.
    std::wstring text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += static_cast<wchar_t>(glyph_unicode(static_cast<std::uint8_t>(byte)));
    const ConsoleLock hold;
    DWORD written = 0;
    WriteConsoleW(handle(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace console
