#include "console/posix/terminal_input.hpp"

#include "console/native.hpp"
#include "console/posix/steady_ms.hpp"

#include <cerrno>
#include <poll.h>
#include <span>
#include <unistd.h>

namespace console::posix {

TerminalInput::TerminalInput(RawTerminal& terminal, SignalWatch& signals,
                             std::vector<char32_t> typed_high_bytes)
    : terminal_(terminal), signals_(signals), keys_(std::move(typed_high_bytes)) {}

bool TerminalInput::take_signals(bool woke) {
    bool reentered = false;
    for (;;) {
        const PendingSignals got = signals_.take(woke);
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

bool TerminalInput::pump(int timeout_ms) {
    pollfd fds[2] = {{terminal_.in_fd(), POLLIN, 0}, {signals_.wake_fd(), POLLIN, 0}};
    const bool watch_keys = !full();
    pollfd* first = watch_keys ? &fds[0] : &fds[1];
    const nfds_t count = (watch_keys ? 1 : 0) + (signals_.wake_fd() >= 0 ? 1 : 0);
    const int ready = ::poll(first, count, timeout_ms);
    if (!watch_keys)
        return ready > 0;
    bool got = false;
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0)
        got = read();
    // A silence is only heard when the terminal was looked at.
    if (!got)
        keys_.idle(steady_ms());
    return ready > 0 && count == 2 && fds[1].revents != 0;
}

void TerminalInput::drain() {
    // Bounded, so a flood of input cannot hold the game here.
    for (int i = 0; i < 64 && !full(); ++i) {
        pollfd fd{terminal_.in_fd(), POLLIN, 0};
        if (::poll(&fd, 1, 0) <= 0 || !read()) {
            keys_.idle(steady_ms());
            return;
        }
    }
}

std::optional<std::int64_t> TerminalInput::key_deadline() const {
    if (full())
        return std::nullopt;
    return keys_.deadline();
}

bool TerminalInput::read() {
    // No more bytes than there is room for keys: a byte adds at most two
    // codes (one ending a sequence that names a pair), so the keys waiting
    // never pass twice the bound.
    std::uint8_t buffer[max_waiting_keys];
    const std::size_t room = max_waiting_keys - keys_.keys_waiting();
    const ssize_t n = ::read(terminal_.in_fd(), buffer, room);
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
