#pragma once
// The session on the installed console, changed as the options ask.

#include "app/options.hpp"
#include "console/platform.hpp"
#include "console/screen_buffer.hpp"
#include "game/resultado.hpp"

namespace app {

// Installs the console under the decorators the options ask for and plays
// the session; returns its exit status.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform);
// The same, with `record` told of every game as it begins and ends.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform,
         game::Observador& record);

} // namespace app
