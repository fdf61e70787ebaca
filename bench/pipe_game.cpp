#include "pipe_game.hpp"

#include "console/cell_screen.hpp"
#include "console/current.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/terminal_modes.hpp"
#include "console/posix/terminal_platform.hpp"
#include "game/exigencias.hpp"
#include "game/inicio.hpp"
#include "game/quadro.hpp"
#include "game/sessao.hpp"
#include "least_bytes.hpp"
#include "ncurses_mirror.hpp"
#include "plain_output.hpp"
#include "replay/replaying_platform.hpp"
#include "screens/efeitos.hpp"
#include "support/seeded_player.hpp"
#include "write_count.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace bench {
namespace {

using console::posix::TerminalPlatform;

std::int64_t thread_cpu_ns() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

std::int64_t wall_ns() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// The backend as the program has it, but seeded by the run and, unless in
// real time, waiting for no time; every wait point is counted, and the
// picture it is about to send measured.
class BackendUnderTest : public TerminalPlatform {
  public:
    BackendUnderTest(console::posix::RawTerminal& terminal, console::posix::SignalWatch& signals,
                     console::CellScreen& model, const RunOptions& options)
        : TerminalPlatform(terminal, signals, model, game::exigencias_do_console(), false),
          model_(model), options_(options) {
        if (options.measure_output)
            ncurses_.emplace(80, 50);
    }

    void sleep(int ms) override {
        timed_waits += ms > 0 ? 1 : 0;
        wait_point([&] { TerminalPlatform::sleep(options_.real_time ? ms : 0); });
    }
    void beep(int hz, int ms) override {
        timed_waits += ms > 0 ? 1 : 0;
        wait_point([&] { TerminalPlatform::beep(hz, options_.real_time ? ms : 0); });
    }
    int getch() override {
        int key = 0;
        wait_point([&] { key = TerminalPlatform::getch(); });
        return key;
    }
    // The game seeds its draws from the clock.
    std::int64_t time() override { return options_.seed; }

    int wait_points = 0;
    int timed_waits = 0;
    std::int64_t wait_cpu_ns = 0;
    std::uint64_t most_writes_at_a_wait_point = 0;
    Least least;
    std::uint64_t ncurses_bytes = 0;

  private:
    template <class Wait> void wait_point(Wait wait) {
        ++wait_points;
        if (options_.measure_output) {
            const console::ansi::Grid grid = console::ansi::window_grid(model_);
            const Least now = least_bytes_.next(grid);
            least.cells += now.cells;
            least.glyph_bytes += now.glyph_bytes;
            least.run_bytes += now.run_bytes;
            ncurses_bytes += ncurses_->next(grid);
        }
        const std::uint64_t before = writes_so_far().calls;
        const std::int64_t cpu = thread_cpu_ns();
        wait();
        wait_cpu_ns += thread_cpu_ns() - cpu;
        most_writes_at_a_wait_point =
            std::max(most_writes_at_a_wait_point, writes_so_far().calls - before);
    }

    console::CellScreen& model_;
    const RunOptions& options_;
    LeastBytes least_bytes_;
    // At the size the backend assumes for a pipe; only when measuring.
    std::optional<NcursesMirror> ncurses_;
};

struct Pipe {
    int read_end = -1;
    int write_end = -1;
    explicit Pipe(int flags) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | flags) != 0)
            throw std::runtime_error("no pipe");
        read_end = fds[0];
        write_end = fds[1];
    }
    ~Pipe() {
        close_read();
        close_write();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void close_read() {
        if (read_end >= 0)
            ::close(read_end);
        read_end = -1;
    }
    void close_write() {
        if (write_end >= 0)
            ::close(write_end);
        write_end = -1;
    }
};

// The terminal's side: reads everything, as fast as it comes, keeping it
// when asked.
std::uint64_t drain(int fd, std::string* kept = nullptr) {
    std::uint64_t total = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            total += static_cast<std::uint64_t>(n);
            if (kept != nullptr)
                kept->append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            return total;
        }
    }
}

// The backend as --replay has it, every wait of no length.
class NoWaits : public TerminalPlatform {
  public:
    using TerminalPlatform::TerminalPlatform;
    void sleep(int /*ms*/) override { TerminalPlatform::sleep(0); }
    void beep(int hz, int /*ms*/) override { TerminalPlatform::beep(hz, 0); }
};

void new_game(game::Partida& p, int level) {
    p = game::Partida{};
    std::strcpy(p.nome.data(), "Bench");
    p.nivel = level;
    // As every game's start-up does: the cursor hidden, room asked for.
    screens::ocultarampliar();
    game::monta_jogo(p);
}

// The codes as a terminal sends them: an arrow is its escape sequence.
void type(int keyboard, const std::vector<int>& keys) {
    std::string bytes;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == teste::PREFIXO_DE_SETA && i + 1 < keys.size() &&
            keys[i + 1] == teste::SETA_ACIMA) {
            bytes += "\x1b[A";
            ++i;
        } else {
            bytes += static_cast<char>(keys[i]);
        }
    }
    if (!bytes.empty() &&
        ::write(keyboard, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("the keyboard pipe is full");
}

void play(GameRun& run, const RunOptions& options, BackendUnderTest& backend,
          const PlainOutput* plain, int keyboard) {
    teste::SeededPlayer player(options.seed);
    game::Partida p;
    game::Fim fim = game::Fim::continua;
    bool first = true;
    // Counted from one frame's end to the next, so what the start of a game
    // draws goes with the frame that sends it.
    WriteCount written = writes_so_far();
    PlainTally plain_before = plain ? plain->tally() : PlainTally{};
    Least least_before = backend.least;
    std::uint64_t ncurses_before = backend.ncurses_bytes;
    int waits_before = backend.wait_points;
    const std::int64_t start = wall_ns();
    for (int f = 0; f < options.frames; ++f) {
        if (first || p.vidas < 1 || fim != game::Fim::continua) {
            new_game(p, options.level);
            ++run.games;
            first = false;
        }
        if (options.paste_bytes == 0)
            type(keyboard, player.keys(p));
        const std::int64_t cpu = thread_cpu_ns();
        fim = game::quadro(p);
        FrameFigures figures;
        figures.cpu_ns = thread_cpu_ns() - cpu;

        const WriteCount w = writes_so_far();
        figures.bytes = w.bytes - written.bytes;
        figures.writes = w.calls - written.calls;
        written = w;
        figures.wait_points = backend.wait_points - waits_before;
        waits_before = backend.wait_points;
        figures.changed_cells = backend.least.cells - least_before.cells;
        figures.least_glyph_bytes = backend.least.glyph_bytes - least_before.glyph_bytes;
        figures.least_run_bytes = backend.least.run_bytes - least_before.run_bytes;
        least_before = backend.least;
        figures.ncurses_bytes = backend.ncurses_bytes - ncurses_before;
        ncurses_before = backend.ncurses_bytes;
        if (plain) {
            const PlainTally t = plain->tally();
            figures.plain_bytes = t.bytes - plain_before.bytes;
            figures.plain_writes = t.writes - plain_before.writes;
            plain_before = t;
        }
        run.frames.push_back(figures);
    }
    run.wall_ns = wall_ns() - start;
    run.most_writes_at_a_wait_point = backend.most_writes_at_a_wait_point;
    run.wait_cpu_ns = backend.wait_cpu_ns;
    run.timed_waits = backend.timed_waits;
}

// Pastes prose (no Esc among it) as fast as the pipe takes it, until all
// is in or the run is over, noting the most memory the process holds.
class Paste {
  public:
    Paste(int keyboard, std::size_t bytes, GameRun& run)
        : thread_([this, keyboard, bytes, &run] { go(keyboard, bytes, run); }) {}
    ~Paste() {
        stop_ = true;
        thread_.join();
    }
    Paste(const Paste&) = delete;
    Paste& operator=(const Paste&) = delete;

  private:
    void go(int keyboard, std::size_t bytes, GameRun& run) {
        const std::string_view line = "a quick brown fox jumps over the lazy dog\r\n";
        std::string chunk;
        while (chunk.size() < 4096)
            chunk += line;
        while (!stop_) {
            run.rss_most_kib = std::max(run.rss_most_kib, resident_kib());
            const std::size_t left = bytes - static_cast<std::size_t>(run.pasted);
            const ssize_t n =
                left == 0 ? 0 : ::write(keyboard, chunk.data(), std::min(left, chunk.size()));
            if (n > 0) {
                run.pasted += static_cast<std::uint64_t>(n);
                continue;
            }
            pollfd room{keyboard, POLLOUT, 0};
            ::poll(&room, 1, 10);
        }
    }

    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace

long resident_kib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return 0;
}

// The CPU time the system charges a thread for one sleep in poll(), with
// nothing to wake it before the timeout: the least any wait costs.
double bare_sleep_cpu_ns(int ms, int times) {
    int fds[2];
    if (::pipe(fds) != 0)
        return 0;
    pollfd idle{fds[0], POLLIN, 0};
    const std::int64_t start = thread_cpu_ns();
    for (int i = 0; i < times; ++i)
        ::poll(&idle, 1, ms);
    const std::int64_t spent = thread_cpu_ns() - start;
    ::close(fds[0]);
    ::close(fds[1]);
    return static_cast<double>(spent) / times;
}

GameRun play_into_a_pipe(const RunOptions& options) {
    GameRun run;
    run.level = options.level;
    run.frames.reserve(static_cast<std::size_t>(options.frames));

    Pipe keyboard(O_NONBLOCK);
    Pipe screen(0);
    // Roomy enough that a frame never waits for the reader.
    ::fcntl(screen.write_end, F_SETPIPE_SZ, 1 << 20);
    std::uint64_t bytes_read = 0;
    std::thread reader([&] { bytes_read = drain(screen.read_end); });
    {
        console::posix::SignalWatch signals;
        // A pipe has no modes to set: the backend's attempts fail quietly.
        console::posix::RawTerminal terminal(keyboard.read_end, screen.write_end, termios{});
        console::CellScreen model;
        BackendUnderTest backend(terminal, signals, model, options);
        PlainOutput plain(model);
        console::ScreenBuffer& drawn_on =
            options.measure_output ? static_cast<console::ScreenBuffer&>(plain) : model;
        const console::Installation installation(drawn_on, backend);
        count_writes_on(screen.write_end);
        run.rss_before_kib = run.rss_most_kib = resident_kib();
        {
            std::optional<Paste> paste;
            if (options.paste_bytes > 0)
                paste.emplace(keyboard.write_end, options.paste_bytes, run);
            play(run, options, backend, options.measure_output ? &plain : nullptr,
                 keyboard.write_end);
        }
        count_writes_on(-1);
    }
    screen.close_write();
    reader.join();
    run.bytes_read = bytes_read;
    return run;
}

std::string replay_into_a_pipe(const replay::Recording& recording) {
    Pipe keyboard(O_NONBLOCK);
    Pipe screen(0);
    std::string received;
    std::thread reader([&] { drain(screen.read_end, &received); });
    {
        console::posix::SignalWatch signals;
        // A pipe has no modes to set, nor a size: the backend takes 80x50.
        console::posix::RawTerminal terminal(keyboard.read_end, screen.write_end, termios{});
        console::CellScreen model;
        NoWaits backend(terminal, signals, model, game::exigencias_do_console(), false);
        replay::ReplayingPlatform player(backend, recording, replay::Pace{});
        {
            const console::Installation installation(model, player);
            game::sessao();
        }
        backend.flush(); // the last frame, as the native runner sends it
    }
    screen.close_write();
    reader.join();
    return received;
}

} // namespace bench
