#pragma once
// Plays a recording through on the in-memory console, at no speed limit and
// with no terminal, and checks that every game ends as it was recorded.

#include "console/platform.hpp"
#include "console/screen_buffer.hpp"
#include "game/resultado.hpp"
#include "replay/recording.hpp"

#include <ostream>
#include <string>
#include <vector>

namespace replay {

// Prints each replayed game's result on out; on err, the first game that
// differs and how, or that the recording ended early. 0 when every result
// is the recorded one, else 1.
int verify_recording(const Recording& recording, const std::string& name, std::ostream& out,
                     std::ostream& err);

// The two halves of a verification, for whoever replays on a console of
// its own (the cast export) and checks the same way.
struct Replayed {
    std::vector<game::Resultado> games;
    // The recording ran out in the last game played: there is nothing to
    // compare that game with.
    bool last_cut = false;
    // The recording ran out, or was cut short, before the session ended.
    bool ended_early = false;
};

// The session played on `screen` and `platform` with the recording's keys
// and clock, each wait as long as recorded; `watch` hears of every game.
Replayed replay_recording(const Recording& recording, console::ScreenBuffer& screen,
                          console::Platform& platform, game::Observador& watch);

// What verify_recording prints and returns, for a replay already made.
int check_replay(const Replayed& replayed, const Recording& recording, const std::string& name,
                 std::ostream& out, std::ostream& err);

} // namespace replay
