// Runs the frame benchmarks, then the scripted games into a pipe, and prints
// every figure as Markdown tables on standard output (the benchmark
// library's own report goes to standard error).
//
//   orbitrix_bench [--frames=N] [--real-time-frames=N] [benchmark flags]
#include "game/partida.hpp"
#include "pipe_game.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Micro {
    double cpu_us = 0;
    double real_us = 0;
    std::map<std::string, double> counters;
    double counter(const std::string& name) const {
        const auto it = counters.find(name);
        return it == counters.end() ? 0 : it->second;
    }
};

// Keeps what the console reporter shows, for the tables.
class Collector : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            Micro m;
            m.cpu_us = run.GetAdjustedCPUTime() / multiplier(run.time_unit) * 1e6;
            m.real_us = run.GetAdjustedRealTime() / multiplier(run.time_unit) * 1e6;
            for (const auto& [name, counter] : run.counters)
                m.counters[name] = counter.value;
            results[run.run_name.function_name] = m;
        }
    }
    std::map<std::string, Micro> results;

  private:
    static double multiplier(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e9;
        case benchmark::kMicrosecond:
            return 1e6;
        case benchmark::kMillisecond:
            return 1e3;
        default:
            return 1;
        }
    }
};

template <class T, class F> T median_of(const std::vector<bench::FrameFigures>& frames, F field) {
    std::vector<T> v;
    v.reserve(frames.size());
    for (const auto& f : frames)
        v.push_back(static_cast<T>(field(f)));
    std::sort(v.begin(), v.end());
    return v.empty() ? T{} : v[v.size() / 2];
}

template <class T, class F> T max_of(const std::vector<bench::FrameFigures>& frames, F field) {
    T m{};
    for (const auto& f : frames)
        m = std::max(m, static_cast<T>(field(f)));
    return m;
}

template <class F> double sum_of(const std::vector<bench::FrameFigures>& frames, F field) {
    double s = 0;
    for (const auto& f : frames)
        s += static_cast<double>(field(f));
    return s;
}

std::string fixed(double v, int decimals) {
    char out[64];
    std::snprintf(out, sizeof out, "%.*f", decimals, v);
    return out;
}

int option(int argc, char** argv, std::string_view name, int fallback) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, name.size()) == name && arg.size() > name.size() &&
            arg[name.size()] == '=')
            return std::atoi(argv[i] + name.size() + 1);
    }
    return fallback;
}

int atraso_of(int level) {
    return game::NIVEIS[static_cast<std::size_t>(level - '1')].parametros.atraso;
}

void print_micro(const std::map<std::string, Micro>& r) {
    const auto get = [&](const std::string& name) {
        const auto it = r.find(name);
        return it == r.end() ? Micro{} : it->second;
    };
    const Micro frame = get("BM_FrameOnBusyField");
    const Micro restore = get("BM_FieldRestore");
    const Micro flush = get("BM_FlushOfBusyFrame");
    const Micro whole = get("BM_FlushOfWholeScreen");
    std::cout << "### One frame on a busy field (30 ships, 40 meteors, 20 shots of each kind)\n\n"
              << "| Measure | CPU time | Notes |\n|---|---:|---|\n"
              << "| Phases 1-22, in memory, no sleep or tones | "
              << fixed(frame.cpu_us - restore.cpu_us, 2) << " µs | " << fixed(frame.cpu_us, 2)
              << " µs measured, less " << fixed(restore.cpu_us, 2)
              << " µs restoring the field each time |\n"
              << "| Terminal flush of that frame (window read, diff, encode) | "
              << fixed(flush.cpu_us, 2) << " µs | " << fixed(flush.counter("changed_cells"), 0)
              << " cells changed, " << fixed(flush.counter("bytes"), 0) << " bytes |\n"
              << "| For scale: flush of the whole busy screen to an unknown terminal | "
              << fixed(whole.cpu_us, 2) << " µs | " << fixed(whole.counter("bytes"), 0)
              << " bytes |\n\n";
    const Micro record = get("BM_RecordIntoAFullTable");
    std::cout << "### A session's game added to the table of best scores, after the terminal "
                 "is given back\n\n"
              << "| Measure | Real time | CPU time |\n|---|---:|---:|\n"
              << "| Lock, read, merge, write, fsync, rename and directory fsync of a full table | "
              << fixed(record.real_us, 1) << " µs | " << fixed(record.cpu_us, 1) << " µs |\n\n";

    const Micro verify = get("BM_VerifyTenMinuteSession");
    std::cout << "### --verify of a recorded session\n\n"
              << "| Session | Games | Keys | Recording | CPU time to read and verify |\n"
              << "|---|---:|---:|---:|---:|\n"
              << "| " << fixed(verify.counter("minutes"), 1) << " minutes of play | "
              << fixed(verify.counter("games"), 0) << " | " << fixed(verify.counter("keys"), 0)
              << " | " << fixed(verify.counter("bytes") / 1024, 1) << " KiB | "
              << fixed(verify.cpu_us / 1e3, 1) << " ms |\n\n";

    const Micro cast = get("BM_ExportTenMinuteSession");
    const double terminal = cast.counter("terminal_bytes");
    const double session_ms = cast.counter("minutes") * 60e3;
    std::cout << "### --export of the same session as an asciicast\n\n"
              << "| Recording | Terminal bytes | Cast | Cast ÷ terminal bytes | Cast's output = "
                 "the terminal's bytes | CPU time to read and export | Session's length ÷ "
                 "that |\n"
              << "|---:|---:|---:|---:|---|---:|---:|\n"
              << "| " << fixed(cast.counter("recording_bytes") / 1024, 1) << " KiB | "
              << fixed(terminal / 1024, 1) << " KiB | "
              << fixed(cast.counter("cast_bytes") / 1024, 1) << " KiB | "
              << fixed(terminal > 0 ? cast.counter("cast_bytes") / terminal : 0, 2) << " | "
              << (cast.counter("same_bytes") == 1 ? "yes" : "NO") << " | "
              << fixed(cast.cpu_us / 1e3, 1) << " ms | "
              << fixed(cast.cpu_us > 0 ? session_ms * 1e3 / cast.cpu_us : 0, 0) << " |\n\n";
}

void print_output(const std::vector<bench::GameRun>& runs, int frames) {
    using bench::FrameFigures;
    std::cout << "### Terminal output, " << frames
              << " frames per level into a pipe (a lost game is followed by a new one)\n\n"
              << "| Level | Games | Bytes/frame median | max | write()/frame median | max | "
                 "Wait points/frame median | Most write() at one wait point | "
                 "Bytes ÷ least (glyphs) | Bytes ÷ least (runs) |\n"
              << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const auto& run : runs) {
        const auto& f = run.frames;
        const double bytes = sum_of(f, [](const FrameFigures& x) { return x.bytes; });
        std::cout
            << "| " << char(run.level) << " | " << run.games << " | "
            << median_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.bytes; }) << " | "
            << max_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.bytes; }) << " | "
            << median_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.writes; }) << " | "
            << max_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.writes; }) << " | "
            << median_of<int>(f, [](const FrameFigures& x) { return x.wait_points; }) << " | "
            << run.most_writes_at_a_wait_point << " | "
            << fixed(bytes / sum_of(f, [](const FrameFigures& x) { return x.least_glyph_bytes; }),
                     2)
            << " | "
            << fixed(bytes / sum_of(f, [](const FrameFigures& x) { return x.least_run_bytes; }), 2)
            << " |\n";
    }
    std::cout << "\n### For comparison: ncurses drawing the same pictures, same games\n\n"
              << "| Level | Bytes, game | ncurses | Game ÷ ncurses | Bytes/frame median, game | "
                 "ncurses | First screen, game | ncurses | Largest frame, game | ncurses |\n"
              << "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const auto& run : runs) {
        const auto& f = run.frames;
        const auto game = [](const FrameFigures& x) { return x.bytes; };
        const auto curses = [](const FrameFigures& x) { return x.ncurses_bytes; };
        const double game_total = sum_of(f, game);
        const double curses_total = sum_of(f, curses);
        std::cout << "| " << char(run.level) << " | " << fixed(game_total, 0) << " | "
                  << fixed(curses_total, 0) << " | " << fixed(game_total / curses_total, 2) << " | "
                  << median_of<std::uint64_t>(f, game) << " | "
                  << median_of<std::uint64_t>(f, curses) << " | "
                  << (f.empty() ? 0 : f.front().bytes) << " | "
                  << (f.empty() ? 0 : f.front().ncurses_bytes) << " | "
                  << max_of<std::uint64_t>(f, game) << " | " << max_of<std::uint64_t>(f, curses)
                  << " |\n";
    }
    std::cout << "\n### For comparison: plain unbuffered output of every print, same games\n\n"
              << "| Level | Bytes/frame median | max | write()/frame median | max | "
                 "Bytes ÷ least (glyphs) | Bytes ÷ least (runs) |\n"
              << "|---|---:|---:|---:|---:|---:|---:|\n";
    for (const auto& run : runs) {
        const auto& f = run.frames;
        const double bytes = sum_of(f, [](const FrameFigures& x) { return x.plain_bytes; });
        std::cout
            << "| " << char(run.level) << " | "
            << median_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.plain_bytes; })
            << " | "
            << max_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.plain_bytes; })
            << " | "
            << median_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.plain_writes; })
            << " | "
            << max_of<std::uint64_t>(f, [](const FrameFigures& x) { return x.plain_writes; })
            << " | "
            << fixed(bytes / sum_of(f, [](const FrameFigures& x) { return x.least_glyph_bytes; }),
                     2)
            << " | "
            << fixed(bytes / sum_of(f, [](const FrameFigures& x) { return x.least_run_bytes; }), 2)
            << " |\n";
    }
    std::cout << "\n";
}

void print_cpu(const std::vector<bench::GameRun>& runs, const bench::GameRun* real_time) {
    using bench::FrameFigures;
    std::cout << "### CPU time of the game's thread per frame, on the terminal backend "
                 "(waits of no length)\n\n"
              << "| Level | CPU/frame mean | median | max | Share of one core while playing: "
                 "mean ÷ (frame delay + mean) |\n"
              << "|---|---:|---:|---:|---:|\n";
    for (const auto& run : runs) {
        const auto& f = run.frames;
        const auto cpu = [](const FrameFigures& x) { return x.cpu_ns; };
        const double mean_us = sum_of(f, cpu) / static_cast<double>(f.size()) / 1e3;
        const double share = mean_us / (atraso_of(run.level) * 1e3 + mean_us) * 100;
        std::cout << "| " << char(run.level) << " | " << fixed(mean_us, 1) << " µs | "
                  << fixed(median_of<std::int64_t>(f, cpu) / 1e3, 1) << " µs | "
                  << fixed(max_of<std::int64_t>(f, cpu) / 1e3, 1) << " µs | " << fixed(share, 3)
                  << " % of " << atraso_of(run.level) << " ms + mean |\n";
    }
    if (real_time != nullptr && !real_time->frames.empty()) {
        const double cpu_ns =
            sum_of(real_time->frames, [](const FrameFigures& x) { return x.cpu_ns; });
        std::cout << "\nLevel 1 in real time (sleeps and tones for their length), "
                  << real_time->frames.size() << " frames: " << fixed(real_time->wall_ns / 1e9, 1)
                  << " s of play, " << fixed(cpu_ns / 1e6, 1) << " ms CPU, "
                  << fixed(cpu_ns / static_cast<double>(real_time->frames.size()) / 1e3, 1)
                  << " µs per frame, " << fixed(cpu_ns / real_time->wall_ns * 100, 3)
                  << " % of one core.\n";
        // The same frames' work, from the run with waits of no length, at
        // the real-time run's pace: what the waits themselves add shows.
        if (!runs.empty() && runs.front().level == '1' && !runs.front().frames.empty()) {
            const auto& work = runs.front().frames;
            const double work_ns = sum_of(work, [](const FrameFigures& x) { return x.cpu_ns; }) /
                                   static_cast<double>(work.size());
            const double pace_ns =
                real_time->wall_ns / static_cast<double>(real_time->frames.size());
            const double real_ns = cpu_ns / static_cast<double>(real_time->frames.size());
            std::cout << "The frame's work alone (level 1 above, waits of no length) at that pace: "
                      << fixed(work_ns / pace_ns * 100, 3)
                      << " % of one core; real time ÷ work: " << fixed(real_ns / work_ns, 2)
                      << ".\n";
        }
        const double frames = static_cast<double>(real_time->frames.size());
        const double waits = real_time->timed_waits / frames;
        const double bare_us = bench::bare_sleep_cpu_ns(40, 50) / 1e3;
        std::cout << "Of each real-time frame, " << fixed(real_time->wait_cpu_ns / frames / 1e3, 1)
                  << " µs went in the wait points, over " << fixed(waits, 2)
                  << " sleeps or tones of some length; one bare 40 ms poll() of an idle pipe costs "
                     "this machine "
                  << fixed(bare_us, 1) << " µs of CPU, " << fixed(waits * bare_us, 1)
                  << " µs a frame at that many.\n";
    }
    std::cout << "\n";
}

void print_paste(const bench::GameRun& run, std::size_t offered) {
    std::cout << "### Memory while a paste floods the keyboard\n\n"
              << "| Frames | Offered | Taken by the keyboard pipe | Resident before | Most "
                 "resident while pasting | Growth |\n|---:|---:|---:|---:|---:|---:|\n"
              << "| " << run.frames.size() << " | " << offered / 1024 << " KiB | "
              << run.pasted / 1024 << " KiB | " << run.rss_before_kib << " KiB | "
              << run.rss_most_kib << " KiB | " << run.rss_most_kib - run.rss_before_kib
              << " KiB |\n\n";
}

void print_notes() {
    std::cout
        << "### How these are measured\n\n"
        << "- A frame's phases run on the in-memory console, whose sleeps and tones take no "
           "time; the field is put back before each frame, so every frame starts equally busy.\n"
        << "- The flush is the backend's own: the model's window read out, diffed with what the "
           "terminal is known to show, and the changed cells encoded.\n"
        << "- The games run the real backend with a pipe for the terminal (another thread reads "
           "it) and a pipe for the keyboard, into which a seeded player types before some "
           "frames. write() calls are counted where they reach the system. A wait point is one "
           "sleep, tone or key wait; the backend writes, at most once, at each.\n"
        << "- Least (glyphs): the UTF-8 bytes of the glyphs of the cells that changed, a bound "
           "no output that writes each of them can go below. Least (runs): those glyphs, plus an "
           "SGR naming only the "
           "colour that changed wherever a changed cell's colours differ from the last one "
           "written, plus for each run of side-by-side changed cells the shortest cursor move "
           "(CUP, CUU, CUD, CUF, CUB, CHA, CR, LF or BS) from where the last run ended. "
           "Rewriting a few unchanged cells can be shorter than a move, and erasing a run of "
           "blanks (ECH, or EL at a row's end) shorter than its blanks, so an output may go "
           "below it. The first frame of a game sends the whole screen to a terminal "
           "whose content is unknown, every cell counting as changed.\n"
        << "- ncurses: at each wait point the same picture drawn through ncursesw (newterm on "
           "a pipe, TERM=xterm-256color, 80x50, the cursor hidden and left where the drawing "
           "ends): every cell put with its glyph in the colour pair of its two colours, white on "
           "black being ncurses' own pair 0, then one refresh; the bytes it writes are counted "
           "and fed to libvterm, which must show every cell of each picture as drawn.\n"
        << "- Plain output: every cursor placement sent as a CUP, every colour setting as an SGR "
           "(even of the colour in force), every printed byte as its glyph, each in a write() "
           "of its own; a clear as a CUP and an erase per row.\n"
        << "- --verify: a seeded player plays game after game for ten minutes of the game's "
           "own time (every frame's delay, tone and pause counted) under the recorder; the "
           "benchmark reads that recording back and replays it on the in-memory console, whose "
           "waits take no time, comparing each game's result.\n"
        << "- --export: the same recording read and made into a cast (replayed as --verify "
           "replays it, on the terminal backend's presenter at 80x50, the JSON written); "
           "terminal bytes are what the backend itself writes into a pipe replaying that "
           "recording with waits of no length, from its first write (the screen modes) to its "
           "last (their undoing); the cast's output events, one after the other, must equal "
           "them but for that last write.\n"
        << "- CPU time is the game thread's (user and system) for the frame's phases, from runs "
           "that do not follow the output, with waits of no length; the share of a core divides "
           "it by the frame's delay plus itself. The real-time run sleeps and sounds (silently) "
           "for the real lengths and divides its CPU time by the time it took; each wait there "
           "also sleeps in a poll of the keyboard and the signals and wakes from it, which the "
           "waits of no length skip. The frame's work alone puts the mean CPU time of the "
           "level-1 frames with waits of no length over the real-time run's time per frame. "
           "Both include every wait point's flush (only the rows changed since the last one are "
           "read and compared). The wait points' share is the thread's CPU between entering and "
           "leaving them; the bare poll() is 50 sleeps of 40 ms on a pipe nobody writes, what "
           "the system charges for going to sleep and waking on a timer (on this virtual machine "
           "tens of µs, and the caches come back cold), a floor no wait can go under.\n"
        << "- Memory: a thread pastes 10 MiB of prose (no Esc) into the keyboard pipe as fast as "
           "it takes them, while a level-1 game runs the frames with waits of no length and "
           "takes one key a frame; resident memory (VmRSS of /proc/self/status) is read as the "
           "run begins and at every turn of the paste. The backend reads the terminal only "
           "while fewer than 256 decoded keys wait, so the rest of a paste stays in the kernel "
           "(here the pipe, on a terminal the line discipline and the emulator).\n"
        << "- The table of best scores: one game added first to a full table of ten, in a "
           "directory of the system's temporary directory (ext4 here), with every fsync the "
           "program does; real time is what the program's exit waits for it.\n";
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const int frames = option(argc, argv, "--frames", 2000);
    const int real_time_frames = option(argc, argv, "--real-time-frames", 500);

    Collector collector;
    collector.SetOutputStream(&std::cerr);
    collector.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&collector);
    print_micro(collector.results);

    std::vector<bench::GameRun> measured;
    std::vector<bench::GameRun> timed;
    for (const int level : {'1', '2', '3', '4'}) {
        bench::RunOptions o;
        o.level = level;
        o.frames = frames;
        o.seed = 1000 + static_cast<unsigned>(level);
        std::cerr << "level " << char(level) << ": output run\n";
        measured.push_back(bench::play_into_a_pipe(o));
        const auto& run = measured.back();
        if (sum_of(run.frames, [](const bench::FrameFigures& x) { return x.bytes; }) >
            static_cast<double>(run.bytes_read)) {
            std::cerr << "the pipe's reader saw fewer bytes than were written\n";
            return 1;
        }
        std::cerr << "level " << char(level) << ": CPU run\n";
        o.measure_output = false;
        timed.push_back(bench::play_into_a_pipe(o));
    }
    print_output(measured, frames);

    bench::GameRun real_time;
    if (real_time_frames > 0) {
        bench::RunOptions o;
        o.frames = real_time_frames;
        o.seed = 1000 + '1';
        o.measure_output = false;
        o.real_time = true;
        std::cerr << "level 1: real-time run of " << real_time_frames << " frames\n";
        real_time = bench::play_into_a_pipe(o);
    }
    print_cpu(timed, real_time_frames > 0 ? &real_time : nullptr);

    bench::RunOptions pasting;
    pasting.frames = frames;
    pasting.seed = 1000 + '1';
    pasting.measure_output = false;
    pasting.paste_bytes = 10 << 20;
    std::cerr << "level 1: a 10 MiB paste over " << frames << " frames\n";
    print_paste(bench::play_into_a_pipe(pasting), pasting.paste_bytes);
    print_notes();
    return 0;
}
