#include "console/native.hpp"
#include "console/palette.hpp"

#include "console/windows/console_events.hpp"
#include "console/windows/console_lock.hpp"
#include "console/windows/console_state.hpp"
#include "console/windows/session_end.hpp"
#include "console/windows/windows_platform.hpp"
#include "console/windows/windows_screen.hpp"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace console {
namespace {

struct FoundConsole {
    HANDLE output;
    HANDLE input;
    ConsoleState state;
};

// How long a closing window is held for the program's normal way out;
// Windows ends the process 5 s after the close whatever the handler does.
constexpr DWORD CLOSE_GRACE_MS = 4000;

// The console event handler runs on a thread of its own, with no way to be
// handed the session's console but this.
std::atomic<const FoundConsole*> running{nullptr};

// From construction to destruction the console is the game's; afterwards it
// is as it was found, however the session ended.
class ConsoleSession {
  public:
    ConsoleSession(HANDLE output, Palette palette) : found_{output, open_console_input(), {}} {
        found_.state = capture_console(found_.output, found_.input);
        clear_session_end();
        running.store(&found_);
        SetConsoleCtrlHandler(on_console_event, TRUE);
        set_drawing_mode(found_.output, found_.state);
        set_palette_colours(found_.output, palette);
    }
    ~ConsoleSession() {
        {
            const ConsoleLock hold;
            restore_console(found_.state, found_.output, found_.input);
            move_below_window(found_.output);
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

// Only asks for the end: the game's thread ends the session at its next
// wait, within a frame or a tone, the runner gives the console back and the
// program records the session's games on its normal way out.
BOOL WINAPI on_console_event(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    request_session_end();
    if (event == CTRL_CLOSE_EVENT) {
        // Windows ends the process as soon as this returns, so it holds on
        // while the program goes its normal way. Nothing needs to say when
        // that is done: the way out ends in ExitProcess, which ends this
        // thread too, with the program's own status.
        Sleep(CLOSE_GRACE_MS);
        // Still here, the game's thread is stuck: give the console back and
        // end as every ending does, without the games.
        const ConsoleLock hold;
        if (const FoundConsole* found = running.load())
            restore_console(found->state, found->output, found->input);
        TerminateProcess(GetCurrentProcess(), 100);
    }
    return TRUE;
}

NativeOutcome run_on_native_console(const NativeNeeds& needs, const NativeSession& session) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO probe{};
    if (!GetConsoleScreenBufferInfo(output, &probe))
        return NativeOutcome{1, NativeProblem::no_console,
                             "standard output is not a console; run it in a console window"};
    // A console always has its sixteen colours.
    constexpr int console_colours = 16;
    const Palette palette = palette_for(needs.palette, std::getenv("NO_COLOR"), console_colours);
    const ConsoleSession console_session(output, palette);
    WindowsScreen screen(nullptr, palette);
    WindowsPlatform platform;
    try {
        return NativeOutcome{session(screen, platform), NativeProblem::none, {}};
    } catch (const SessionEnded& ended) {
        return NativeOutcome{ended.status, NativeProblem::none, {}};
    }
}

} // namespace console
