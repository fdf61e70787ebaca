#pragma once
// Runs a session on the machine's own console: the terminal on POSIX, the
// console window on Windows. The console is set up before and restored after,
// on every ending.

#include <functional>

namespace console {

// The session's exit status; 100 when a signal or a vanished terminal ends
// it early; 1, with a line on stderr, when there is no console to play on.
int run_on_native_console(const std::function<int()>& session);

// Thrown from a wait point when the session must end at once (a signal, the
// terminal gone). The native runner catches it; game code never needs to.
struct SessionEnded {
    int status = 100;
};

} // namespace console
