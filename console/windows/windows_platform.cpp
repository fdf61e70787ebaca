#include "console/windows/windows_platform.hpp"

#include "console/native.hpp"
#include "console/windows/console_lock.hpp"
#include "console/windows/full_screen_keys.hpp"

#include <conio.h>
#include <windows.h>

#include <chrono>
#include <ctime>

namespace console {
namespace {

constexpr int CTRL_C = 3;

DWORD to_dword(int v) {
    return v > 0 ? static_cast<DWORD>(v) : 0;
}

} // namespace

bool WindowsPlatform::kbhit() {
    return ::_kbhit() != 0;
}

int WindowsPlatform::getch() {
    const int key = ::_getch();
    // The runtime reads a key with the console's input processing off, so
    // Ctrl-C arrives here as a key instead of as the console's event. The
    // second code of a key without a character is not a character: Ctrl+2
    // gives 0 and then 3.
    const bool is_second_code = after_prefix_;
    after_prefix_ = !is_second_code && (key == 0 || key == 224);
    if (key == CTRL_C && !is_second_code)
        throw SessionEnded{100};
    return key;
}

void WindowsPlatform::sleep(int ms) {
    Sleep(to_dword(ms));
}

void WindowsPlatform::beep(int hz, int ms) {
    const auto start = std::chrono::steady_clock::now();
    ::Beep(static_cast<DWORD>(hz), to_dword(ms));
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    if (spent < ms)
        Sleep(to_dword(ms - static_cast<int>(spent)));
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
