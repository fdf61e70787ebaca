#pragma once
// The session on the installed console, changed as the options ask.

#include "app/options.hpp"

namespace app {

// The session's exit status.
int play(const Options& options);

} // namespace app
