#pragma once
// The program's side of recordings: files opened or refused before the
// console is touched (a line on standard error; the caller exits 2), and
// what is said about them after.

#include "replay/recording.hpp"

#include <fstream>
#include <optional>
#include <string>

namespace replay {

// Opened before the console is touched; false, with a line on standard
// error, when it cannot be.
bool open_recording(const std::string& path, std::ofstream& out);
// The recording, or nothing when it is refused.
std::optional<Recording> load_or_refuse(const std::string& path);
// After a replay, once the console is given back: a line on standard error
// when the recording ended before the session did.
void say_if_ended_early(const std::string& path, const Recording& recording, bool ran_out);
// See verify_recording.
int verify_file(const std::string& path);

} // namespace replay
