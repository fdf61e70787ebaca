#pragma once
// A recorded session as an asciicast (version 2): the bytes the terminal
// backend writes to an 80x50 terminal while the session replays at its own
// pace, each at the session's time, with a marker at each game's start and
// each level it rises to. The session is replayed as --verify replays it,
// and a recording whose games do not end as recorded makes no cast.

#include "replay/recording.hpp"

#include <string>
#include <variant>

namespace replay {

inline constexpr int CAST_COLUMNS = 80;
inline constexpr int CAST_ROWS = 50;

// Why there is no cast: what --verify says of the recording, on standard
// error, and the status it exits with.
struct CastRefusal {
    int status = 1;
    std::string message; // whole lines, "orbitrix: NAME: ...\n"
};

// The whole cast, one JSON value a line, or the refusal. `name` stands for
// the recording in the refusal's words (a file's path).
std::variant<std::string, CastRefusal> asciicast(const Recording& recording,
                                                 const std::string& name);

} // namespace replay
