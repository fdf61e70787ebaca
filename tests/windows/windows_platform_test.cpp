#include "console/native.hpp"
#include "console/windows/full_screen_keys.hpp"
#include "console/windows/session_end.hpp"
#include "console/windows/windows_platform.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <thread>

namespace {

// Keys typed into the process's console input, for the runtime's key reading
// to find.
class ConsoleKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        input_ =
            CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD mode = 0;
        if (input_ == INVALID_HANDLE_VALUE || !GetConsoleMode(input_, &mode))
            GTEST_SKIP() << "no console input";
        FlushConsoleInputBuffer(input_);
    }
    void TearDown() override {
        if (input_ != INVALID_HANDLE_VALUE) {
            FlushConsoleInputBuffer(input_);
            CloseHandle(input_);
        }
    }

    void type(WORD vk, WORD scan, wchar_t ch, DWORD control = 0) {
        INPUT_RECORD press{};
        press.EventType = KEY_EVENT;
        press.Event.KeyEvent.bKeyDown = TRUE;
        press.Event.KeyEvent.wRepeatCount = 1;
        press.Event.KeyEvent.wVirtualKeyCode = vk;
        press.Event.KeyEvent.wVirtualScanCode = scan;
        press.Event.KeyEvent.uChar.UnicodeChar = ch;
        press.Event.KeyEvent.dwControlKeyState = control;
        INPUT_RECORD release = press;
        release.Event.KeyEvent.bKeyDown = FALSE;
        const INPUT_RECORD both[] = {press, release};
        DWORD written = 0;
        ASSERT_TRUE(WriteConsoleInputW(input_, both, 2, &written));
    }

    console::WindowsPlatform platform;
    HANDLE input_ = INVALID_HANDLE_VALUE;
};

TEST_F(ConsoleKeys, KeysWaitUntilReadAndComeInTheOrderTyped) {
    EXPECT_FALSE(platform.kbhit());
    type('A', 0x1e, L'a');
    type(VK_RETURN, 0x1c, L'\r');
    type(VK_ESCAPE, 0x01, 27);
    EXPECT_TRUE(platform.kbhit());
    EXPECT_TRUE(platform.kbhit()) << "looking takes no key";
    EXPECT_EQ(platform.getch(), 'a');
    EXPECT_EQ(platform.getch(), 13);
    EXPECT_EQ(platform.getch(), 27);
    EXPECT_FALSE(platform.kbhit());
}

TEST_F(ConsoleKeys, KeysWithoutACharacterComeAsAPrefixAndASecondCode) {
    type(VK_UP, 0x48, 0, ENHANCED_KEY);
    type(VK_HOME, 0x47, 0, ENHANCED_KEY);
    type('Q', 0x10, L'q');
    EXPECT_EQ(platform.getch(), 224);
    EXPECT_EQ(platform.getch(), 72);
    EXPECT_EQ(platform.getch(), 224);
    EXPECT_EQ(platform.getch(), 71);
    EXPECT_EQ(platform.getch(), 'q');
}

TEST_F(ConsoleKeys, CtrlCWhileAKeyIsAwaitedEndsTheSession) {
    // While the runtime waits for a key the console's input processing is
    // off, and Ctrl-C is a key like any other; typed with it on, it would
    // raise the console's event and end this process instead.
    DWORD mode = 0;
    GetConsoleMode(input_, &mode);
    SetConsoleMode(input_, mode & ~static_cast<DWORD>(ENABLE_PROCESSED_INPUT));
    type('C', 0x2e, 3, LEFT_CTRL_PRESSED);
    SetConsoleMode(input_, mode);
    try {
        platform.getch();
        FAIL() << "Ctrl-C was taken as a key";
    } catch (const console::SessionEnded& ended) {
        EXPECT_EQ(ended.status, 100);
    }
}

TEST_F(ConsoleKeys, AKeyWaitTakesAKeyTypedLaterOrEndsWhenTheEndIsAsked) {
    type('A', 0x1e, L'a');
    EXPECT_EQ(platform.getch(), 'a');
    // Only the release is left in the input, and the wait must see past it.
    std::thread later([this] {
        Sleep(100);
        type(VK_SHIFT, 0x2a, 0);
        type('B', 0x30, L'B', SHIFT_PRESSED);
    });
    EXPECT_EQ(platform.getch(), 'B');
    later.join();

    std::thread ask([] {
        Sleep(100);
        console::request_session_end();
    });
    EXPECT_THROW(platform.getch(), console::SessionEnded);
    ask.join();
    EXPECT_THROW(platform.kbhit(), console::SessionEnded);
    EXPECT_THROW(platform.sleep(60000), console::SessionEnded);
    EXPECT_THROW(platform.beep(440, 60000), console::SessionEnded);
    console::clear_session_end();
    EXPECT_FALSE(platform.kbhit());
}

TEST(WindowsPlatform, AToneLastsItsLengthEvenWithoutASpeaker) {
    console::WindowsPlatform platform;
    const auto start = std::chrono::steady_clock::now();
    platform.beep(440, 120);
    const auto spent = std::chrono::steady_clock::now() - start;
    EXPECT_GE(spent, std::chrono::milliseconds(100));
}

TEST(WindowsPlatform, TimeIsTheCalendarClockInSeconds) {
    console::WindowsPlatform platform;
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    EXPECT_LE(std::abs(platform.time() - now), 2);
}

TEST(WindowsPlatform, AsksForTheFullScreenWithAltEnterReleasingEnterFirst) {
    const auto at = [](std::size_t i) {
        const console::KeyEvent k = console::full_screen_keys.at(i);
        return std::array<unsigned, 3>{k.virtual_key, k.scan_code, k.flags};
    };
    EXPECT_EQ(at(0), (std::array<unsigned, 3>{VK_MENU, 56, 0}));
    EXPECT_EQ(at(1), (std::array<unsigned, 3>{VK_RETURN, 28, 0}));
    EXPECT_EQ(at(2), (std::array<unsigned, 3>{VK_RETURN, 28, KEYEVENTF_KEYUP}));
    EXPECT_EQ(at(3), (std::array<unsigned, 3>{VK_MENU, 56, KEYEVENTF_KEYUP}));
}

} // namespace
