#pragma once
// Scripted games played on the terminal backend, with a pipe for the
// terminal: what each frame sends and how long it keeps a core busy.

#include "replay/recording.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct FrameFigures {
    std::uint64_t bytes = 0;  // written to the terminal
    std::uint64_t writes = 0; // write() calls
    int wait_points = 0;      // sleeps, tones and key waits
    std::uint64_t changed_cells = 0;
    std::uint64_t least_glyph_bytes = 0;
    std::uint64_t least_run_bytes = 0;
    std::uint64_t plain_bytes = 0;
    std::uint64_t plain_writes = 0;
    std::uint64_t ncurses_bytes = 0; // the same pictures through ncurses
    std::int64_t cpu_ns = 0;         // of the game's thread, for the frame's phases
};

struct GameRun {
    int level = '1';
    int games = 0; // a game lost before the last frame is followed by a new one
    std::vector<FrameFigures> frames;
    std::int64_t wall_ns = 0;
    std::int64_t wait_cpu_ns = 0; // of the frames' CPU, spent in the wait points
    int timed_waits = 0;          // sleeps and tones of some length
    std::uint64_t pasted = 0;     // bytes the paste got into the keyboard pipe
    long rss_before_kib = 0;      // the process's resident memory as the run began
    long rss_most_kib = 0;        // and the most seen while it went on
    std::uint64_t bytes_read = 0; // by the other end of the pipe
    std::uint64_t most_writes_at_a_wait_point = 0;
};

struct RunOptions {
    int level = '1';
    int frames = 2000;
    unsigned seed = 1;
    // Follow every byte (changed cells, the plain-output tally); this costs
    // time of its own, so the CPU figures come from runs without it.
    bool measure_output = true;
    // Sleep and sound the tones for their real length, as in play; without
    // it every wait still happens, only for no time.
    bool real_time = false;
    // Bytes pasted at the keyboard as the run starts, instead of the seeded
    // player's keys: a thread writes them as fast as the pipe takes them.
    std::size_t paste_bytes = 0;
};

// The CPU time the system charges a thread for one sleep in poll() of `ms`
// with nothing to wake it: the least any timed wait costs.
double bare_sleep_cpu_ns(int ms, int times);

// Resident memory of this process now, from /proc/self/status.
long resident_kib();

GameRun play_into_a_pipe(const RunOptions& options);

// The recording's session replayed on the terminal backend with a pipe for
// the terminal, every wait of no length: the bytes the terminal receives,
// from the backend's first write to its last.
std::string replay_into_a_pipe(const replay::Recording& recording);

} // namespace bench
