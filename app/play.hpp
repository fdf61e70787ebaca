#pragma once
// The session on the installed console, changed as the options ask.

#include "app/options.hpp"
#include "app/submit/ticketed_clock.hpp"
#include "console/platform.hpp"
#include "console/screen_buffer.hpp"
#include "game/resultado.hpp"
#include "replay/recording.hpp"

#include <ostream>

namespace app {

// Installs the console under the decorators the options ask for and plays
// the session; returns its exit status.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform);
// The same, with `record` told of every game as it begins and ends, and the
// session written to `recording` when there is one.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform,
         game::Observador& record, std::ostream* recording);
// The same, each game's seed dealt by `dealer` as a ranked session asks.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform,
         game::Observador& record, std::ostream* recording, submit::TicketDealer& dealer);
// A recorded session played back, under --mute and --speed; ran_out tells,
// when it ends early, whether the recording ran out.
int replay_session(const Options& options, const replay::Recording& recording,
                   console::ScreenBuffer& screen, console::Platform& platform, bool& ran_out);

} // namespace app
