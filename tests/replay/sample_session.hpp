#pragma once
// The session behind tests/data/session.replay, on a pinned clock: a game at
// level 4 with no key pressed until its one life is lost, then '1' to play
// again, a name typed with a slip and a Backspace, a few moves, a shot, an
// arrow, a pause, and Esc.

#include "console/memory_console.hpp"

#include <string>

namespace sample {

void script_session(console::MemoryPlatform& platform);

// The session played on a fresh in-memory console with a recorder around
// it: the recording's text.
std::string recorded_session();

} // namespace sample
