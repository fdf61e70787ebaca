#include "console/native.hpp"

#include "console/current.hpp"
#include "console/windows/console_lock.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/windows_platform.hpp"
#include "console/windows/windows_screen.hpp"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace console {
namespace {

struct FoundConsole {
    HANDLE output;
    HANDLE input;
    ConsoleState state;
};

// The console event handler runs on a thread of its own, with no way to be
// handed the session's console but this.
std::atomic<const FoundConsole*> running{nullptr};

BOOL WINAPI on_console_event(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    // Held until the process is gone: the game's thread stops at its next
    // drawing call. Ending at once runs no library clean-up that could wait
    // on a lock the game's thread holds, and a closing window allows only
    // moments.
    const ConsoleLock hold;
    if (const FoundConsole* found = running.load())
        restore_console(found->state, found->output, found->input);
    TerminateProcess(GetCurrentProcess(), 100);
    return TRUE;
}

HANDLE open_console_input() {
    // The runtime reads keys from the console itself, whatever standard
    // input is, and that is the input whose mode must come back.
    return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

// From construction to destruction the console is the game's; afterwards,
// and on Ctrl-C, Ctrl-Break or a closed window, it is as it was found.
class ConsoleSession {
  public:
    explicit ConsoleSession(HANDLE output) : found_{output, open_console_input(), {}} {
        found_.state = capture_console(found_.output, found_.input);
        running.store(&found_);
        SetConsoleCtrlHandler(on_console_event, TRUE);
        set_drawing_mode(found_.output, found_.state);
    }
    ~ConsoleSession() {
        {
            const ConsoleLock hold;
            restore_console(found_.state, found_.output, found_.input);
            running.store(nullptr);
        }
        SetConsoleCtrlHandler(on_console_event, FALSE);
        if (found_.input != INVALID_HANDLE_VALUE)
            CloseHandle(found_.input);
    }
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

  private:
    FoundConsole found_;
};

} // namespace

int run_on_native_console(const std::function<int()>& session) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO probe{};
    if (!GetConsoleScreenBufferInfo(output, &probe)) {
        std::fputs("orbitrix: standard output is not a console; run it in a console window\n",
                   stderr);
        return 1;
    }
    const ConsoleSession console_session(output);
    WindowsScreen screen;
    WindowsPlatform platform;
    const Installation installation(screen, platform);
    try {
        return session();
    } catch (const SessionEnded& ended) {
        return ended.status;
    }
}

} // namespace console
