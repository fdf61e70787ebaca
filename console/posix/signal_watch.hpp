#pragma once
// The signals the game answers. Handlers only note the signal and wake the
// poll of the wait under way; the game acts on them at its next wait point.

#include <string_view>
#include <termios.h>

namespace console::posix {

struct PendingSignals {
    bool end = false;     // SIGINT, SIGTERM, SIGHUP, SIGQUIT
    bool suspend = false; // SIGTSTP
    bool resumed = false; // SIGCONT
    bool resized = false; // SIGWINCH
};

// Installs the handlers for the object's lifetime (one at a time).
class SignalWatch {
  public:
    SignalWatch();
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    // Readable once a signal came; poll it beside the input.
    int wake_fd() const;
    // What came since the last call; the wake-up is consumed. The wake fd is
    // read only when something came or `woke` says it was readable, so a
    // quiet look costs no system call.
    PendingSignals take(bool woke = false);

    // Stops the process as Ctrl-Z would have, and returns once it is
    // continued.
    void stop_self();

    // On a crash (SIGSEGV, SIGABRT, ...) these bytes are written to
    // `out_fd` and the modes of `tty_fd` set back to `found` before the
    // process dies. The bytes must outlive the watch.
    void restore_on_crash(int out_fd, int tty_fd, std::string_view bytes, const termios& found);
};

} // namespace console::posix
