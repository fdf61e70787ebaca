#pragma once
// The program's side of recordings: files opened or refused before the
// console is touched (a line on standard error; the caller exits 2), and
// what is said about them after.

#include "replay/recording.hpp"

#include <fstream>
#include <optional>
#include <ostream>
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
// --export: the cast of the recording at `path` ("-": standard input) on
// `out`, or the refusal on standard error and nothing on `out`. 0; 1 when
// its games do not end as recorded or the cast cannot be written; 2 when
// the recording cannot be read.
int export_file(const std::string& path, std::ostream& out);

} // namespace replay
