#include "console/posix/terminal_platform.hpp"

#include "console/native.hpp"
#include "console/posix/size_notice.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace console::posix {
namespace {

constexpr int max_window = 255;
// Even with no signal to say so, the size is looked at this often while
// a wait goes on: not every terminal reports a resize to its process.
constexpr int recheck_ms = 1000;
// A size for terminals that do not tell theirs: the classic console's,
// or the session's least when that is larger, so the session fits.
TerminalSize assumed_size(TerminalSize least) {
    return TerminalSize{std::max(80, least.columns), std::max(50, least.rows)};
}

std::int64_t now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

[[noreturn]] void end_session() {
    throw SessionEnded{100};
}

} // namespace

ModelSize model_size_for(TerminalSize terminal, TerminalSize least) {
    ModelSize m;
    m.width = std::clamp(terminal.columns, std::min(least.columns, max_window), max_window);
    m.height = std::clamp(terminal.rows, std::min(least.rows, max_window), max_window);
    m.buffer_height = m.height + 1;
    return m;
}

Grid window_grid(const CellScreen& model) {
    const Rect w = model.window();
    Grid grid(w.right - w.left + 1, w.bottom - w.top + 1);
    for (int y = 0; y < grid.height; ++y)
        for (int x = 0; x < grid.width; ++x) {
            const Cell c = model.cell(w.left + x, w.top + y);
            grid.set(x, y, TermCell{c.ch, static_cast<std::uint8_t>(c.attr & 0xff)});
        }
    return grid;
}

TerminalPlatform::TerminalPlatform(RawTerminal& terminal, SignalWatch& signals, CellScreen& model,
                                   NativeNeeds needs, bool sound)
    : terminal_(terminal), signals_(signals), model_(model), needs_(std::move(needs)),
      speaker_(tone_format_.rate, sound) {
    update_size();
}

bool TerminalPlatform::kbhit() {
    drain_input();
    return keys_.has_key();
}

int TerminalPlatform::getch() {
    wait_point(std::nullopt, true);
    return keys_.take();
}

void TerminalPlatform::sleep(int ms) {
    wait_point(now_ms() + std::max(ms, 0), false);
}

void TerminalPlatform::beep(int hz, int ms) {
    // The screen first shows what the tone goes with.
    wait_point(now_ms(), false);
    const std::int64_t start = now_ms();
    if (ms > 0)
        speaker_.play(tone_pcm(hz, ms, tone_format_), [this] { handle_signals(); });
    // The rest of the tone's time, or all of it when nothing sounds.
    wait_point(start + std::max(ms, 0), false);
}

void TerminalPlatform::set_cursor_info(int /*size*/, bool visible) {
    cursor_visible_ = visible;
}

void TerminalPlatform::request_full_screen() {
    // A terminal has no full screen to go to; room enough is what counts.
    growth_requested_ = true;
}

std::int64_t TerminalPlatform::time() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

void TerminalPlatform::flush() {
    std::string out;
    if (clear_pending_) {
        out += "\x1b[0m\x1b[H\x1b[2J";
        forget_cells(shown_);
        clear_pending_ = false;
    }
    std::optional<Point> cursor;
    if (cursor_visible_) {
        const Coord c = model_.cursor();
        const Rect w = model_.window();
        cursor = Point{c.x - w.left, c.y - w.top};
    }
    // A wait wakes many times a frame; when the model has not changed since
    // it was last shown there is nothing to diff.
    const Presented now{model_.version(), cursor};
    if (out.empty() && presented_ == now)
        return;
    out += render_frame(shown_, window_grid(model_), cursor);
    if (!out.empty() && !write_all(terminal_.out_fd(), out))
        end_session();
    presented_ = now;
}

void TerminalPlatform::wait_point(std::optional<std::int64_t> until_ms, bool for_key) {
    for (;;) {
        handle_signals();
        send_growth_request();
        update_size();
        if (!fits(size_, needs_.least)) {
            const std::int64_t paused = wait_for_room();
            if (until_ms)
                *until_ms += paused;
            continue;
        }
        flush();
        drain_input();
        if (for_key && keys_.has_key())
            return;
        const std::int64_t now = now_ms();
        if (until_ms && now >= *until_ms)
            return;
        std::int64_t wake = now + recheck_ms;
        if (until_ms)
            wake = std::min(wake, *until_ms);
        if (const auto decided = keys_.deadline())
            wake = std::min(wake, *decided);
        pump_input(static_cast<int>(std::max<std::int64_t>(0, wake - now)));
    }
}

bool TerminalPlatform::handle_signals() {
    bool reentered = false;
    for (;;) {
        const PendingSignals got = signals_.take();
        if (got.end)
            end_session();
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
        break;
    }
    if (reentered) {
        shown_ = TerminalPicture{};
        presented_.reset();
    }
    return reentered;
}

void TerminalPlatform::update_size() {
    const TerminalSize now = terminal_size(terminal_.out_fd()).value_or(assumed_size(needs_.least));
    if (now == size_)
        return;
    size_ = now;
    const ModelSize m = model_size_for(now, needs_.least);
    if (m.width != model_.width() || m.buffer_height != model_.height())
        model_.resize(m.width, m.buffer_height);
    model_.set_window(Rect{0, 0, static_cast<std::int16_t>(m.width - 1),
                           static_cast<std::int16_t>(m.height - 1)});
    // The terminal may have kept, moved or dropped what it showed.
    forget_cells(shown_);
    clear_pending_ = true;
}

std::int64_t TerminalPlatform::wait_for_room() {
    const std::int64_t start = now_ms();
    std::optional<TerminalSize> notice_for;
    for (;;) {
        if (handle_signals())
            notice_for.reset();
        update_size();
        if (fits(size_, needs_.least))
            break;
        if (notice_for != size_) {
            const auto paragraphs = needs_.size_notice ? needs_.size_notice(size_, needs_.least)
                                                       : std::vector<std::string>{};
            if (!write_all(terminal_.out_fd(), size_notice(paragraphs, size_)))
                end_session();
            notice_for = size_;
        }
        pump_input(recheck_ms);
        // Keys typed at a hidden game are not for it.
        keys_.discard_keys();
    }
    forget_cells(shown_);
    clear_pending_ = true;
    return now_ms() - start;
}

void TerminalPlatform::send_growth_request() {
    if (!growth_requested_)
        return;
    growth_requested_ = false;
    update_size();
    if (fits(size_, needs_.least))
        return; // never smaller: a second request changes nothing
    const int rows = std::max(size_.rows, needs_.least.rows);
    const int columns = std::max(size_.columns, needs_.least.columns);
    const std::string request =
        "\x1b[8;" + std::to_string(rows) + ";" + std::to_string(columns) + "t";
    if (!write_all(terminal_.out_fd(), request))
        end_session();
    // Few terminals honour it, and those that do take a moment: the size is
    // read again at every turn of the wait.
}

void TerminalPlatform::pump_input(int timeout_ms) {
    pollfd fds[2] = {{terminal_.in_fd(), POLLIN, 0}, {signals_.wake_fd(), POLLIN, 0}};
    const nfds_t count = signals_.wake_fd() >= 0 ? 2 : 1;
    const int ready = ::poll(fds, count, timeout_ms);
    bool got = false;
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0)
        got = read_input();
    if (!got)
        keys_.idle(now_ms());
}

void TerminalPlatform::drain_input() {
    // Bounded, so a flood of input cannot hold the game here.
    for (int i = 0; i < 64; ++i) {
        pollfd fd{terminal_.in_fd(), POLLIN, 0};
        if (::poll(&fd, 1, 0) <= 0 || !read_input()) {
            keys_.idle(now_ms());
            return;
        }
    }
}

bool TerminalPlatform::read_input() {
    std::uint8_t buffer[512];
    const ssize_t n = ::read(terminal_.in_fd(), buffer, sizeof buffer);
    if (n > 0) {
        keys_.feed(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)), now_ms());
        return true;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
        return false;
    // End of file or EIO: the terminal is gone, and so is the player.
    end_session();
}

} // namespace console::posix
