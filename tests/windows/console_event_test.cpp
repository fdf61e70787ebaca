#include "test_console_buffer.hpp"

#include <string>

namespace {

using ConsoleEvent = console_test::ConsoleBufferTest;

BOOL WINAPI survive(DWORD) {
    return TRUE;
}

std::wstring beside_this_program(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

CONSOLE_CURSOR_INFO cursor_info(HANDLE buffer) {
    CONSOLE_CURSOR_INFO info{};
    GetConsoleCursorInfo(buffer, &info);
    return info;
}

// Runs ctrl_break_child on `buffer`, in a process group of its own so that
// its Ctrl-Break reaches no one else; its exit status, or 0 when it is still
// running after 30 s.
DWORD run_child(HANDLE buffer, const std::wstring& how) {
    SetHandleInformation(buffer, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = buffer;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + beside_this_program(L"ctrl_break_child.exe") + L"\" " + how;
    PROCESS_INFORMATION child{};
    SetConsoleCtrlHandler(survive, TRUE);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP,
                        nullptr, nullptr, &start, &child))
        return 0;
    if (WaitForSingleObject(child.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, INFINITE);
    SetConsoleCtrlHandler(survive, FALSE);
    DWORD status = 0;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return status;
}

TEST_F(ConsoleEvent, EndsTheSessionWithStatus100AndTheConsoleAsItWasFound) {
    const CONSOLE_CURSOR_INFO shown{25, TRUE};
    SetConsoleCursorInfo(buffer(), &shown);
    SetConsoleTextAttribute(buffer(), 0x1f);
    DWORD mode = 0;
    GetConsoleMode(buffer(), &mode);

    EXPECT_EQ(run_child(buffer(), L"draw"), 100u);
    EXPECT_EQ(char_at(0, 0), L'x') << "the child drew";
    EXPECT_EQ(attr_at(0, 0), 12);
    EXPECT_EQ(info().wAttributes, 0x1f);
    EXPECT_EQ(cursor_info(buffer()).dwSize, 25u);
    EXPECT_TRUE(cursor_info(buffer()).bVisible);
    DWORD now = 0;
    GetConsoleMode(buffer(), &now);
    EXPECT_EQ(now, mode);
    EXPECT_EQ(chars(0, 5, 5), L"after") << "the program went its way out";
}

TEST_F(ConsoleEvent, CutsALongSleepAndAKeyWaitShort) {
    for (const wchar_t* how : {L"sleep", L"key"}) {
        EXPECT_EQ(run_child(buffer(), how), 100u) << how;
        EXPECT_EQ(chars(0, 5, 5), L"after") << how;
        EXPECT_TRUE(cursor_info(buffer()).bVisible) << how;
        DWORD wiped = 0;
        FillConsoleOutputCharacterW(buffer(), L' ', 5, COORD{0, 5}, &wiped);
    }
}

TEST_F(ConsoleEvent, ASecondOneOnTheWayOutWaitsForItToEnd) {
    EXPECT_EQ(run_child(buffer(), L"twice"), 100u);
    EXPECT_EQ(chars(0, 5, 5), L"after") << "the second event cut the way out short";
}

TEST_F(ConsoleEvent, AClosedWindowWaitsForTheWayOutToEnd) {
    EXPECT_EQ(run_child(buffer(), L"close"), 100u);
    EXPECT_EQ(chars(0, 5, 5), L"after");
    EXPECT_TRUE(cursor_info(buffer()).bVisible);
}

} // namespace
