#pragma once
// What a session leaves behind once the terminal is given back: its games
// added to the table, then one line for each on standard output, and at most
// one line on standard error when they could not be added.

#include "app/scores/entry.hpp"

#include <iosfwd>
#include <vector>

namespace scores {

// Off for a game that is only being replayed.
enum class Recording { on, off };

void report_session(const std::vector<Entry>& played, Recording recording, std::ostream& out,
                    std::ostream& err);

} // namespace scores
