#pragma once
// The program's recording, replaying and verifying runs, each returning the
// exit status. A file that cannot be used is refused before the console is
// touched: a line on standard error and status 2.

#include <string>

namespace replay {

// The game as usual, everything it takes written to path.
int record_on_console(const std::string& path);
// The recorded session on the console; 100 at its end, on Esc or Ctrl-C,
// and (with a line on standard error) when the recording ends early. Games
// replayed here are never entered in the table of scores.
int replay_on_console(const std::string& path, int speed);
// See verify_recording.
int verify_file(const std::string& path);

} // namespace replay
