#pragma once
// Whether a game streamed live was played in real time, judged batch by
// batch as the replay confirms each one.
//
// The replay knows the least time the game can take to reach a frame: the
// sum of the waits it asks for (frame delays, tones, explosions), drawing
// time coming on top. Against the board's own clock:
// - a batch that arrives sooner after the deal than the least time of its
//   frame (less a small tolerance) was made in advance;
// - over any window of WINDOW_MS or more, wall time, less the player's
//   holds, above SLOW_FACTOR times the least time plus the network's grace
//   means the game was slowed down or its keys sent late;
// - more than MOST_HOLDS holds, or more than MOST_HELD_MS of them, plays the
//   game in slow motion.
// Any of them makes the game open for good, with the reason.
//
// Each window's test is one subtraction: with s = wall - held - factor *
// least at each batch, a window from j to i fails when s_i - s_j passes the
// grace, so the least s of the batches at least a window old is all that
// must be kept.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace live {

struct JudgeRules {
    std::int64_t tolerance_ms = 250;
    std::int64_t window_ms = 10'000;
    // Honest overheads: drawing, and a 15.6 ms timer tick that makes a
    // 40 ms frame about 47 ms, stay well under this. Measured (bench/
    // RESULTS.md): honest play on Linux in tmux has its worst 10 s window at
    // 1.04 to 1.05 times the least time, a game under faketime at half speed
    // at 2.07. wine's console on a machine loaded five times over its cores
    // reached 2.18: wine's drawing there, not a player's machine, so not a
    // reason to let slowed games through.
    double slow_factor = 1.5;
    std::int64_t grace_ms = 10'000;
    int most_holds = 5;
    std::int64_t most_held_ms = 120'000;
    // What the board spends on one session's replay: its own time, as for a
    // recording sent to it, and the replaying thread's CPU.
    std::int64_t most_session_ms = 4LL * 3600 * 1000;
    std::int64_t most_cpu_ns = 60'000'000'000;
};

// One batch, once replayed: when it arrived (the board's clock, from the
// deal), the least time of the frame it reached, and the holds it brought.
struct Judged {
    std::int64_t arrived_ms = 0;
    std::int64_t least_ms = 0;
    int holds = 0;
    std::int64_t held_ms = 0;
};

class Judge {
  public:
    explicit Judge(JudgeRules rules = {}) : rules_(rules) {}

    // Adds a batch; arrivals come in order. Once a reason is found it stays.
    // A batch that found the game where the last one left it (a prompt, the
    // pause, a held terminal) is judged for coming too soon only: the time
    // the game stood still is judged with the holds the batch that moves it
    // on brings.
    void add(const Judged& batch, bool moved = true);

    bool open() const { return reason_.has_value(); }
    // Why the game is open, in English, as its page shows it.
    const std::optional<std::string>& reason() const { return reason_; }
    int holds() const { return holds_; }
    std::int64_t held_ms() const { return held_ms_; }
    // The most wall time, less holds, per unit of least time over the
    // windows judged so far, each from the youngest batch at least a window
    // old: what honest play costs against the slow factor. 0 before a
    // window's worth of play.
    double worst_ratio() const { return worst_ratio_; }

  private:
    struct Point {
        std::int64_t arrived_ms;
        double slack;           // wall - held - factor * least
        std::int64_t unheld_ms; // wall - held
        std::int64_t least_ms;
    };
    void open_for(std::string why);

    JudgeRules rules_;
    std::optional<std::string> reason_;
    int holds_ = 0;
    std::int64_t held_ms_ = 0;
    std::deque<Point> younger_{Point{0, 0.0, 0, 0}}; // the deal itself opens a window
    std::optional<double> least_old_slack_;
    std::optional<Point> youngest_old_;
    double worst_ratio_ = 0;
};

} // namespace live
