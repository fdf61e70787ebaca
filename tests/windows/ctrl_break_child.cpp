// Started by the console event test: takes the console over as the game
// does, is asked to end by the console's event while it draws, sleeps or
// waits for a key, then, as the program records its games, marks the
// console once the session is over; "twice" is asked again on that way out.
//   ctrl_break_child draw|sleep|key|close|twice
#include "console/current.hpp"
#include "console/interrupt_hold.hpp"
#include "console/native.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "console/windows/console_events.hpp"

#include <windows.h>

#include <optional>
#include <string_view>
#include <thread>

namespace {

// Ctrl-Break can be sent to this process's own group alone; wine sends only
// Ctrl-C, which reaches the whole console (the test ignores it).
void interrupt() {
    if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, GetCurrentProcessId()))
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
}

// No console sends a closed window's event on request, so it is delivered
// as the console would: on a thread of its own, the process ended as soon
// as the handler returns.
void close_window() {
    std::thread([] {
        console::on_console_event(CTRL_CLOSE_EVENT);
        TerminateProcess(GetCurrentProcess(), 0xC000013A);
    }).detach();
}

int session(std::string_view how) {
    console::SetConsoleCursorInfo(100, false);
    console::textcolor(12);
    console::printf("x");
    if (how == "close")
        close_window();
    else
        interrupt();
    // Each of these outlasts the test's patience unless the event cuts it
    // short.
    if (how == "key")
        console::_getch();
    else if (how == "sleep" || how == "close" || how == "twice")
        console::_sleep(60000);
    // Drawing goes on while the event is handled on another thread; none of
    // it may land after the console is given back.
    for (;;) {
        console::textcolor(14);
        console::gotoxy(1, 2);
        console::printf("y");
        console::_sleep(1);
    }
}

// What the program does on its way out, which must not be cut short: slower
// than a frame, then seen on the console.
void after_the_session(std::string_view how) {
    if (how == "twice")
        interrupt();
    Sleep(300);
    DWORD written = 0;
    WriteConsoleOutputCharacterA(GetStdHandle(STD_OUTPUT_HANDLE), "after", 5, COORD{0, 5},
                                 &written);
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view how = argc > 1 ? argv[1] : "draw";
    // A new process group starts with Ctrl-C ignored; a console window's
    // program starts with it on.
    SetConsoleCtrlHandler(nullptr, FALSE);
    const auto run = [how](console::ScreenBuffer& screen, console::Platform& platform) {
        const console::Installation installation(screen, platform);
        return session(how);
    };
    // Held as the program holds them, until its way out is done.
    std::optional<console::InterruptHold> hold(std::in_place);
    const int status = console::run_on_native_console({}, run).status;
    after_the_session(how);
    hold.reset();
    return status;
}
