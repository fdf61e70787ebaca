#pragma once
// What the board does with a submitted recording before anything is
// stored: the cheap checks of the bytes and the format first, then the
// replay on a budget. Each refusal carries its HTTP status and one line.

#include "replay/check.hpp"
#include "replay/recording.hpp"
#include "server/store.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace board {

struct Limits {
    std::size_t max_body = std::size_t{1} << 20;
    std::int64_t session_ms = 4LL * 3600 * 1000; // of the session's own time
    std::int64_t cpu_ns = 2'000'000'000;
    // The recording's second line, after "orbitrix ": its version and
    // platform, shown on the run's page.
    std::size_t max_program = 200;
};

struct Refused {
    int status = 400;
    std::string reason; // one line, English
};

// The recording the body holds, or why it is refused without a replay:
// 413 too large, 400 malformed (with its line) or holding a name or a
// program line the board cannot show (server/shown_text.hpp), 422 a program
// version this build does not replay identically or a session longer than
// the budget.
std::variant<replay::Recording, Refused> screen(std::string_view body, const Limits& limits);

// A replayed game as the board stores it, with what the ranked rules ask
// of the replay: the seed it read and how long it took in its own time.
struct JudgedGame {
    Game game;
    std::optional<std::uint32_t> seed;
    std::int64_t ms = 0;
};

// The games the server's own replay found, or 422 with the game at fault.
// `cpu_clock`: the replaying thread's CPU time.
std::variant<std::vector<JudgedGame>, Refused> judge_games(const replay::Recording& recording,
                                                           const Limits& limits,
                                                           std::function<std::int64_t()> cpu_clock);

// The same, the games alone.
std::variant<std::vector<Game>, Refused> judge(const replay::Recording& recording,
                                               const Limits& limits,
                                               std::function<std::int64_t()> cpu_clock);

// True when `text` is UTF-8 with no control, bidi or zero-width
// characters: text the board can show.
bool showable_name(std::string_view text);

} // namespace board
