#include "console/posix/terminal_input.hpp"

#include "console/native.hpp"
#include "console/posix/steady_ms.hpp"

#include <cerrno>
#include <poll.h>
#include <span>
#include <unistd.h>

namespace console::posix {

TerminalInput::TerminalInput(RawTerminal& terminal, SignalWatch& signals)
    : terminal_(terminal), signals_(signals) {}

bool TerminalInput::take_signals() {
    bool reentered = false;
    for (;;) {
        const PendingSignals got = signals_.take();
        if (got.end)
            throw SessionEnded{};
        if (got.suspend) {
            terminal_.leave(false);
            signals_.stop_self();
            terminal_.enter();
            reentered = true;
            continue; // what came while stopped, SIGCONT among it
        }
        if (got.resumed && !reentered) {
            // Continued after a stop we did not make: the shell may have put
            // its own modes back.
            terminal_.enter();
            reentered = true;
        }
        return reentered;
    }
}

void TerminalInput::pump(int timeout_ms) {
    pollfd fds[2] = {{terminal_.in_fd(), POLLIN, 0}, {signals_.wake_fd(), POLLIN, 0}};
    const nfds_t count = signals_.wake_fd() >= 0 ? 2 : 1;
    const int ready = ::poll(fds, count, timeout_ms);
    bool got = false;
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0)
        got = read();
    if (!got)
        keys_.idle(steady_ms());
}

void TerminalInput::drain() {
    // Bounded, so a flood of input cannot hold the game here.
    for (int i = 0; i < 64; ++i) {
        pollfd fd{terminal_.in_fd(), POLLIN, 0};
        if (::poll(&fd, 1, 0) <= 0 || !read()) {
            keys_.idle(steady_ms());
            return;
        }
    }
}

bool TerminalInput::read() {
    std::uint8_t buffer[512];
    const ssize_t n = ::read(terminal_.in_fd(), buffer, sizeof buffer);
    if (n > 0) {
        keys_.feed(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), steady_ms());
        return true;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
        return false;
    // End of file or EIO: the terminal is gone, and so is the player.
    throw SessionEnded{};
}

} // namespace console::posix
