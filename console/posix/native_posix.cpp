// The game on the terminal it was started from.
#include "console/current.hpp"
#include "console/memory_console.hpp"
#include "console/native.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/terminal_modes.hpp"
#include "console/posix/terminal_platform.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <termios.h>
#include <unistd.h>

namespace console {

int run_on_native_console(const std::function<int()>& session) {
    termios found{};
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO) || tcgetattr(STDIN_FILENO, &found) != 0) {
        std::fputs("orbitrix: needs a terminal on standard input and output\n", stderr);
        return 1;
    }
    // Over ssh a tone would sound at the far end, for nobody.
    const bool sound = std::getenv("SSH_CONNECTION") == nullptr;
    try {
        posix::SignalWatch signals;
        posix::RawTerminal terminal(STDIN_FILENO, STDOUT_FILENO, found);
        signals.restore_on_crash(STDOUT_FILENO, STDIN_FILENO, posix::leave_sequence(), found);
        MemoryScreen model;
        posix::TerminalPlatform platform(terminal, signals, model, sound);
        const Installation installation(model, platform);
        const int status = session();
        platform.flush(); // the last frame, before the screen is left
        return status;
    } catch (const SessionEnded& ended) {
        return ended.status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orbitrix: %s\n", e.what());
        return 1;
    } catch (...) {
        std::fputs("orbitrix: stopped by an unknown error\n", stderr);
        return 1;
    }
}

} // namespace console
