#pragma once
// A whole session recorded in memory: a seeded player plays game after
// game, through the title, the name, the level and the end screens, until
// the session has lasted `length_ms` of the game's own time; then Esc. The
// same seed and length record the same bytes; another seed, another
// session.

#include <cstdint>
#include <string>

namespace teste {

struct RecordedSession {
    std::string text;
    int games = 0;
    int keys = 0;
    double minutes = 0;
};

RecordedSession played_session(unsigned seed, std::int64_t length_ms);

// The same session with the time each line was written, for whoever plays
// it back at its own pace: one line a recording line or a quarter of a
// second passed, "MS FRAME" (the game's own clock, the frames it reached)
// and, for a recording line, a space and the line.
std::string timed_session(unsigned seed, std::int64_t length_ms);

} // namespace teste
