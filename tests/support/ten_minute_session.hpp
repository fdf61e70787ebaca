#pragma once
// A whole session recorded in memory: a seeded player plays game after
// game, through the title, the name, the level and the end screens, until
// ten minutes of the game's own time have passed; then Esc.

#include <string>

namespace teste {

struct RecordedSession {
    std::string text;
    int games = 0;
    int keys = 0;
    double minutes = 0;
};

RecordedSession ten_minute_session(unsigned seed);

} // namespace teste
