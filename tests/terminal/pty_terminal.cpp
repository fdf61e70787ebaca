#include "pty_terminal.hpp"

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>

namespace terminal_test {

PtyTerminal::PtyTerminal(int columns, int rows) : columns_(columns), rows_(rows) {
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(columns);
    ws.ws_row = static_cast<unsigned short>(rows);
    if (openpty(&master_, &slave_, nullptr, nullptr, &ws) != 0)
        throw std::runtime_error("no pseudo-terminal");
    reader_ = std::thread([this] { read_loop(); });
}

PtyTerminal::~PtyTerminal() {
    stop_reader();
    if (master_ >= 0)
        ::close(master_);
    ::close(slave_);
}

void PtyTerminal::stop_reader() {
    stop_ = true;
    if (reader_.joinable())
        reader_.join();
}

void PtyTerminal::read_loop() {
    char buffer[4096];
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            continue;
        const std::lock_guard lock(mutex_);
        output_.append(buffer, static_cast<std::size_t>(n));
    }
}

void PtyTerminal::type(std::string_view keys) {
    while (!keys.empty()) {
        const ssize_t n = ::write(master_, keys.data(), keys.size());
        if (n <= 0)
            throw std::runtime_error("typing failed");
        keys.remove_prefix(static_cast<std::size_t>(n));
    }
}

void PtyTerminal::resize(int columns, int rows) {
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(columns);
    ws.ws_row = static_cast<unsigned short>(rows);
    ioctl(master_, TIOCSWINSZ, &ws);
    const std::lock_guard lock(mutex_);
    columns_ = columns;
    rows_ = rows;
}

void PtyTerminal::hang_up() {
    stop_reader();
    ::close(master_);
    master_ = -1;
}

std::string PtyTerminal::output() const {
    const std::lock_guard lock(mutex_);
    return output_;
}

bool PtyTerminal::wait_for(const std::function<bool(const std::string&)>& ready,
                           std::chrono::milliseconds limit) const {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (ready(output()))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return ready(output());
}

bool PtyTerminal::wait_for_text(std::string_view text, std::chrono::milliseconds limit) const {
    return wait_for([&](const std::string&) { return screen()->shows(text); }, limit);
}

std::unique_ptr<VtermScreen> PtyTerminal::screen() const {
    int columns = 0;
    int rows = 0;
    {
        const std::lock_guard lock(mutex_);
        columns = columns_;
        rows = rows_;
    }
    auto vt = std::make_unique<VtermScreen>(columns, rows);
    vt->feed(output());
    return vt;
}

} // namespace terminal_test
