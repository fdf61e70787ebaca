#include "console/windows/windows_platform.hpp"

#include "console/native.hpp"
#include "console/windows/console_lock.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/full_screen_keys.hpp"
#include "console/windows/session_end.hpp"

#include <conio.h>
#include <windows.h>

#include <chrono>
#include <ctime>

namespace console {
namespace {

constexpr int CTRL_C = 3;

// While records that are no key for the runtime wait in the input, the
// input stays signalled; they are looked at again this often.
constexpr DWORD RECHECK_MS = 10;

DWORD to_dword(int v) {
    return v > 0 ? static_cast<DWORD>(v) : 0;
}

bool is_modifier(WORD vk) {
    switch (vk) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
        return true;
    default:
        return false;
    }
}

// Releases, the mouse, focus and size changes and lone modifier presses
// never make a key, and left in the input they would keep it signalled.
// Only those before the first press are taken, so no key is lost; returns
// whether any was.
bool drop_leading_non_keys(HANDLE input) {
    INPUT_RECORD records[64];
    DWORD seen = 0;
    if (!PeekConsoleInputW(input, records, 64, &seen))
        return false;
    DWORD drop = 0;
    while (drop < seen) {
        const INPUT_RECORD& r = records[drop];
        const bool press = r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown;
        if (press && !is_modifier(r.Event.KeyEvent.wVirtualKeyCode))
            break;
        ++drop;
    }
    DWORD read = 0;
    return drop > 0 && ReadConsoleInputW(input, records, drop, &read) && read > 0;
}

} // namespace

WindowsPlatform::WindowsPlatform() : input_(open_console_input()) {}

WindowsPlatform::~WindowsPlatform() {
    if (input_ != INVALID_HANDLE_VALUE)
        CloseHandle(input_);
}

bool WindowsPlatform::kbhit() {
    end_if_requested();
    return ::_kbhit() != 0;
}

// The runtime's own wait for a key could not be cut short, so the key is
// awaited here and the runtime reads it only once it is there.
void WindowsPlatform::await_key() {
    while (::_kbhit() == 0) {
        const bool input_came = input_ != INVALID_HANDLE_VALUE && wait_or_end(input_, INFINITE);
        if (!input_came || (::_kbhit() == 0 && !drop_leading_non_keys(input_)))
            wait_or_end(nullptr, RECHECK_MS);
    }
}

int WindowsPlatform::getch() {
    // The second code of a key without a character is already the runtime's.
    if (!after_prefix_)
        await_key();
    const int key = ::_getch();
    // Typed while the runtime reads a key, with the console's input
    // processing off, Ctrl-C arrives as a key and not as the console's
    // event. The second code of a key without a character is not a
    // character: Ctrl+2 gives 0 and then 3.
    const bool is_second_code = after_prefix_;
    after_prefix_ = !is_second_code && (key == 0 || key == 224);
    if (key == CTRL_C && !is_second_code)
        throw SessionEnded{100};
    return key;
}

void WindowsPlatform::sleep(int ms) {
    wait_or_end(nullptr, to_dword(ms));
}

void WindowsPlatform::beep(int hz, int ms) {
    end_if_requested();
    const auto start = std::chrono::steady_clock::now();
    // Beep cannot be cut short: an end asked for during a tone waits for it,
    // a second at most with the game's longest note.
    ::Beep(static_cast<DWORD>(hz), to_dword(ms));
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    wait_or_end(nullptr, spent < ms ? to_dword(ms - static_cast<int>(spent)) : 0);
}

void WindowsPlatform::set_cursor_info(int size, bool visible) {
    const CONSOLE_CURSOR_INFO info{to_dword(size), visible ? TRUE : FALSE};
    const ConsoleLock hold;
    ::SetConsoleCursorInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info);
}

void WindowsPlatform::request_full_screen() {
    for (const KeyEvent& key : full_screen_keys)
        ::keybd_event(key.virtual_key, key.scan_code, key.flags, 0);
}

std::int64_t WindowsPlatform::time() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

} // namespace console
