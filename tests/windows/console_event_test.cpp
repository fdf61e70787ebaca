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

TEST_F(ConsoleEvent, EndsTheProgramWithStatus100AndTheConsoleAsItWasFound) {
    const CONSOLE_CURSOR_INFO shown{25, TRUE};
    SetConsoleCursorInfo(buffer(), &shown);
    SetConsoleTextAttribute(buffer(), 0x1f);
    DWORD mode = 0;
    GetConsoleMode(buffer(), &mode);
    SetHandleInformation(buffer(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    // The child draws on this test's buffer, in a process group of its own
    // so that its Ctrl-Break reaches no one else.
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = buffer();
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + beside_this_program(L"ctrl_break_child.exe") + L"\"";
    PROCESS_INFORMATION child{};
    SetConsoleCtrlHandler(survive, TRUE);
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                               CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &start, &child));
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 30000), WAIT_OBJECT_0);
    SetConsoleCtrlHandler(survive, FALSE);
    DWORD status = 0;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    EXPECT_EQ(status, 100u);
    EXPECT_EQ(char_at(0, 0), L'x') << "the child drew";
    EXPECT_EQ(attr_at(0, 0), 12);
    EXPECT_EQ(info().wAttributes, 0x1f);
    EXPECT_EQ(cursor_info(buffer()).dwSize, 25u);
    EXPECT_TRUE(cursor_info(buffer()).bVisible);
    DWORD now = 0;
    GetConsoleMode(buffer(), &now);
    EXPECT_EQ(now, mode);
}

} // namespace
