#include "console/posix/signal_watch.hpp"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace console::posix {
namespace {

// Shared with the handlers, hence process-wide.
// Lock-free, so a handler may set them and the game take them without
// losing one that comes in between.
std::atomic<bool> end_flag{false};
std::atomic<bool> suspend_flag{false};
std::atomic<bool> resumed_flag{false};
std::atomic<bool> resized_flag{false};
static_assert(std::atomic<bool>::is_always_lock_free);
int pipe_fds[2] = {-1, -1};

std::atomic<int> crash_fd{-1}; // set last: the others are ready once it is
int crash_tty = -1;
const char* crash_bytes = nullptr;
std::size_t crash_length = 0;
termios crash_modes{};

constexpr std::array watched{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT, SIGWINCH};
constexpr std::array fatal{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
std::array<struct sigaction, watched.size()> previous_watched{};
std::array<struct sigaction, fatal.size()> previous_fatal{};
struct sigaction previous_pipe {};

void note(int sig) {
    const int saved = errno;
    switch (sig) {
    case SIGTSTP:
        suspend_flag.store(true);
        break;
    case SIGCONT:
        resumed_flag.store(true);
        break;
    case SIGWINCH:
        resized_flag.store(true);
        break;
    default:
        end_flag.store(true);
        break;
    }
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(pipe_fds[1], &wake, 1);
    errno = saved;
}

void crash(int sig) {
    if (crash_fd >= 0) {
        [[maybe_unused]] const ssize_t ignored = ::write(crash_fd, crash_bytes, crash_length);
        tcsetattr(crash_tty, TCSANOW, &crash_modes);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void install(int sig, void (*handler)(int), struct sigaction* previous) {
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a blocked write or tone returns so the signal is seen.
    sa.sa_flags = 0;
    sigaction(sig, &sa, previous);
}

} // namespace

SignalWatch::SignalWatch() {
    for (auto* flag : {&end_flag, &suspend_flag, &resumed_flag, &resized_flag})
        flag->store(false);
    if (::pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0)
        pipe_fds[0] = pipe_fds[1] = -1;
    for (std::size_t i = 0; i < watched.size(); ++i)
        install(watched[i], note, &previous_watched[i]);
    for (std::size_t i = 0; i < fatal.size(); ++i)
        install(fatal[i], crash, &previous_fatal[i]);
    // A vanished terminal shows as a failed write, not as a killing signal.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &previous_pipe);
}

SignalWatch::~SignalWatch() {
    for (std::size_t i = 0; i < watched.size(); ++i)
        sigaction(watched[i], &previous_watched[i], nullptr);
    for (std::size_t i = 0; i < fatal.size(); ++i)
        sigaction(fatal[i], &previous_fatal[i], nullptr);
    sigaction(SIGPIPE, &previous_pipe, nullptr);
    crash_fd = -1;
    for (int& fd : pipe_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

int SignalWatch::wake_fd() const {
    return pipe_fds[0];
}

PendingSignals SignalWatch::take(bool woke) {
    const bool came =
        end_flag.load() || suspend_flag.load() || resumed_flag.load() || resized_flag.load();
    if (!came && !woke)
        return {};
    char drain[64];
    while (pipe_fds[0] >= 0 && ::read(pipe_fds[0], drain, sizeof drain) > 0) {
    }
    PendingSignals p;
    p.end = end_flag.exchange(false);
    p.suspend = suspend_flag.exchange(false);
    p.resumed = resumed_flag.exchange(false);
    p.resized = resized_flag.exchange(false);
    return p;
}

void SignalWatch::stop_self() {
    struct sigaction deflt {};
    deflt.sa_handler = SIG_DFL;
    sigemptyset(&deflt.sa_mask);
    struct sigaction ours {};
    sigaction(SIGTSTP, &deflt, &ours);
    sigset_t tstp;
    sigemptyset(&tstp);
    sigaddset(&tstp, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &tstp, nullptr);
    std::raise(SIGTSTP);
    // Here again once continued.
    sigaction(SIGTSTP, &ours, nullptr);
}

void SignalWatch::restore_on_crash(int out_fd, int tty_fd, std::string_view bytes,
                                   const termios& found) {
    crash_bytes = bytes.data();
    crash_length = bytes.size();
    crash_modes = found;
    crash_tty = tty_fd;
    crash_fd = out_fd;
}

} // namespace console::posix
