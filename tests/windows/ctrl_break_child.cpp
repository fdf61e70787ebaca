// Started by the console event test: takes the console over as the game
// does, then has Ctrl-Break (or, where that cannot be sent, Ctrl-C) sent to
// itself while it goes on drawing.
#include "console/current.hpp"
#include "console/native.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include <windows.h>

namespace {

int draw_until_interrupted() {
    console::SetConsoleCursorInfo(100, false);
    console::textcolor(12);
    console::printf("x");
    // Ctrl-Break can be sent to this process's own group alone; wine sends
    // only Ctrl-C, which reaches the whole console (the test ignores it).
    if (!GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, GetCurrentProcessId()))
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    // Drawing goes on while the event is handled on another thread; none of
    // it may land after the console is given back. Ends on its own when the
    // event never comes.
    for (int i = 0; i < 2000; ++i) {
        console::textcolor(14);
        console::gotoxy(1, 2);
        console::printf("y");
        Sleep(1);
    }
    return 0;
}

} // namespace

int main() {
    // A new process group starts with Ctrl-C ignored; a console window's
    // program starts with it on.
    SetConsoleCtrlHandler(nullptr, FALSE);
    return console::run_on_native_console(
               {},
               [](console::ScreenBuffer& screen, console::Platform& platform) {
                   const console::Installation installation(screen, platform);
                   return draw_until_interrupted();
               })
        .status;
}
