#pragma once
// The session on the installed console, changed as the options ask.

#include "app/options.hpp"
#include "console/platform.hpp"
#include "console/screen_buffer.hpp"
#include "game/resultado.hpp"
#include "replay/recording.hpp"

#include <ostream>

#ifdef ORBITRIX_LIVE
#include "app/live/live_session.hpp"
#endif

namespace app {

// Installs the console under the decorators the options ask for and plays
// the session; returns its exit status.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform);
// The same, with `record` told of every game as it begins and ends, and the
// session written to `recording` when there is one.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform,
         game::Observador& record, std::ostream* recording);
#ifdef ORBITRIX_LIVE
// The same, played live on a board: each game dealt its seed, and the
// recording streamed to the board as it is written.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform,
         game::Observador& record, std::ostream& recording, live::Session& session);
#endif
// A recorded session played back, under --mute and --speed; ran_out tells,
// when it ends early, whether the recording ran out.
int replay_session(const Options& options, const replay::Recording& recording,
                   console::ScreenBuffer& screen, console::Platform& platform, bool& ran_out);

} // namespace app
