#pragma once
// Plays a recording through on the in-memory console, at no speed limit and
// with no terminal, and checks that every game ends as it was recorded.

#include "replay/recording.hpp"

#include <ostream>
#include <string>

namespace replay {

// Prints each replayed game's result on out; on err, the first game that
// differs and how, or that the recording ended early. 0 when every result
// is the recorded one, else 1.
int verify_recording(const Recording& recording, const std::string& name, std::ostream& out,
                     std::ostream& err);

} // namespace replay
