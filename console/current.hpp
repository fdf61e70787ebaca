#pragma once
// The console the process draws on. Exactly one is installed at a time on
// each thread; the text layer and the services act on it. Tests install a fresh in-memory
// console per case, which also gives the layer a fresh state, as a new
// process would have.

#include "console/platform.hpp"
#include "console/screen_buffer.hpp"

namespace console {

class Installation {
  public:
    Installation(ScreenBuffer& screen, Platform& platform);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

  private:
    ScreenBuffer* previous_screen_;
    Platform* previous_platform_;
};

// Only valid while an Installation is alive.
ScreenBuffer& screen();
Platform& platform();

} // namespace console
