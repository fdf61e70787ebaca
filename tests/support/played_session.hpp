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

} // namespace teste
