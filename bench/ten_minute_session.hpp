#pragma once
// The bench's session: ten minutes of the game's own time, played by the
// tests' seeded session player.

#include "support/played_session.hpp"

namespace bench {

using RecordedSession = teste::RecordedSession;

inline RecordedSession ten_minute_session(unsigned seed) {
    return teste::played_session(seed, 10LL * 60 * 1000);
}

} // namespace bench
