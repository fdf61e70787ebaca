#pragma once
// What --verify says of a verdict: each replayed game's result on standard
// output, then that they all confirm the recording or, on standard error,
// the first game that differs and how, or that the recording ended early.

#include "replay/recording.hpp"
#include "replay/verdict.hpp"

#include <ostream>
#include <string>

namespace replay {

// One line for each replayed game, then, when confirmed, the count that
// confirms the recording.
std::string verdict_results(const Verdict& verdict);
// The line on standard error, "orbitrix: NAME ...\n", when not confirmed;
// `name` stands for the recording (a file's path). Empty when confirmed.
std::string verdict_refusal(const Verdict& verdict, const std::string& name);
// 0 when every result is the recorded one, else 1.
int verdict_status(const Verdict& verdict);

// The recording replayed on the in-memory console and its verdict written
// on out and err; the verdict's status.
int verify_recording(const Recording& recording, const std::string& name, std::ostream& out,
                     std::ostream& err);

} // namespace replay
