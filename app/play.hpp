#pragma once
// The session on the installed console, changed as the options ask.

#include "app/options.hpp"
#include "console/platform.hpp"
#include "console/screen_buffer.hpp"

namespace app {

// Installs the console under the decorators the options ask for and plays
// the session; returns its exit status.
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& platform);

} // namespace app
