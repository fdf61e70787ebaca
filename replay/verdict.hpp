#pragma once
// What a replay is allowed to cost and what it found: the plain data the
// one replay entry (replay/check.hpp) takes and gives back.

#include "game/resultado.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace replay {

// How much a replay may cost before it is stopped. A recording of a few
// hundred bytes can ask for hours of play (every no-key answer is a frame),
// so whoever replays a stranger's file sets both.
struct Budget {
    std::int64_t session_ms = 0; // of the session's own time; 0: no limit
    std::int64_t cpu_ns = 0;     // 0: no limit
    // The replaying thread's CPU time in ns, read every few wait points;
    // needed when cpu_ns is set.
    std::function<std::int64_t()> cpu_clock;
};

struct ReplayedGame {
    game::Resultado result;
    std::int64_t frames = 0; // the frames it was played for
    // The least time it took when played, in ms: its own waits and tones,
    // keys typed at once.
    std::int64_t ms = 0;
    // The clock's last answer in the game, which it seeds its play from;
    // none when it ended before reading the clock.
    std::optional<std::uint32_t> seed;
};

struct Verdict {
    enum class Outcome { confirmed, differs, cut_short, over_session_time, over_cpu };
    Outcome outcome = Outcome::confirmed;
    // The replayed games, up to the one the check stopped at.
    std::vector<ReplayedGame> games;
    // When not confirmed: the line at fault (0: none) and what is wrong.
    int line = 0;
    std::string what;
};

} // namespace replay
