#include "console/windows/console_state.hpp"

#include <windows.h>

namespace console {
namespace {

// SetConsoleScreenBufferInfoEx takes the window it is given as one row and
// one column short on Windows (not under wine), so the window is put back as
// it was read afterwards.
bool set_colour_table(void* output, const std::array<unsigned long, 16>& table) {
    CONSOLE_SCREEN_BUFFER_INFOEX info{};
    info.cbSize = sizeof info;
    if (!GetConsoleScreenBufferInfoEx(output, &info))
        return false;
    for (std::size_t i = 0; i < table.size(); ++i)
        info.ColorTable[i] = table[i];
    const SMALL_RECT window = info.srWindow;
    if (!SetConsoleScreenBufferInfoEx(output, &info))
        return false;
    SetConsoleWindowInfo(output, TRUE, &window);
    return true;
}

} // namespace

void* open_console_input() {
    return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

ConsoleState capture_console(void* output, void* input) {
    ConsoleState state;
    state.output_code_page = GetConsoleOutputCP();
    state.input_code_page = GetConsoleCP();
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode)) {
        state.has_output_mode = true;
        state.output_mode = mode;
    }
    if (GetConsoleMode(input, &mode)) {
        state.has_input_mode = true;
        state.input_mode = mode;
    }
    CONSOLE_CURSOR_INFO cursor{};
    if (GetConsoleCursorInfo(output, &cursor)) {
        state.has_cursor = true;
        state.cursor_size = cursor.dwSize;
        state.cursor_visible = cursor.bVisible != 0;
    }
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(output, &info)) {
        state.has_attribute = true;
        state.attribute = info.wAttributes;
    }
    CONSOLE_SCREEN_BUFFER_INFOEX colours{};
    colours.cbSize = sizeof colours;
    if (GetConsoleScreenBufferInfoEx(output, &colours)) {
        state.has_colour_table = true;
        for (std::size_t i = 0; i < state.colour_table.size(); ++i)
            state.colour_table[i] = colours.ColorTable[i];
    }
    return state;
}

void restore_console(const ConsoleState& state, void* output, void* input) {
    // Setting a code page to the one in force can still make the console
    // redraw or change its font, so unchanged ones are left alone.
    if (state.output_code_page != 0 && GetConsoleOutputCP() != state.output_code_page)
        SetConsoleOutputCP(state.output_code_page);
    if (state.input_code_page != 0 && GetConsoleCP() != state.input_code_page)
        SetConsoleCP(state.input_code_page);
    if (state.has_output_mode)
        SetConsoleMode(output, state.output_mode);
    if (state.has_input_mode)
        SetConsoleMode(input, state.input_mode);
    if (state.has_cursor) {
        const CONSOLE_CURSOR_INFO cursor{state.cursor_size, state.cursor_visible ? TRUE : FALSE};
        SetConsoleCursorInfo(output, &cursor);
    }
    if (state.has_attribute)
        SetConsoleTextAttribute(output, state.attribute);
    if (state.has_colour_table) {
        // Set only when changed: a set can make the console redraw.
        CONSOLE_SCREEN_BUFFER_INFOEX now{};
        now.cbSize = sizeof now;
        bool same = GetConsoleScreenBufferInfoEx(output, &now) != 0;
        for (std::size_t i = 0; same && i < state.colour_table.size(); ++i)
            same = now.ColorTable[i] == state.colour_table[i];
        if (!same)
            set_colour_table(output, state.colour_table);
    }
}

void set_palette_colours(void* output, Palette palette) {
    if (palette != Palette::fixed && palette != Palette::colour_blind)
        return;
    std::array<unsigned long, 16> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Rgb rgb = rgb_of(palette, static_cast<int>(i));
        table[i] = RGB(rgb.red, rgb.green, rgb.blue);
    }
    set_colour_table(output, table);
}

void move_below_window(void* output) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(output, &info))
        return;
    const SHORT below = static_cast<SHORT>(info.srWindow.Bottom + 1);
    if (below < info.dwSize.Y) {
        SetConsoleCursorPosition(output, COORD{0, below});
        return;
    }
    SetConsoleCursorPosition(output, COORD{0, info.srWindow.Bottom});
    DWORD written = 0;
    WriteConsoleW(output, L"\n", 1, &written, nullptr);
}

void set_drawing_mode(void* output, const ConsoleState& found) {
    if (!found.has_output_mode)
        return;
    DWORD mode = found.output_mode | ENABLE_WRAP_AT_EOL_OUTPUT;
    mode &= ~static_cast<DWORD>(ENABLE_VIRTUAL_TERMINAL_PROCESSING | DISABLE_NEWLINE_AUTO_RETURN);
    SetConsoleMode(output, mode);
}

} // namespace console
