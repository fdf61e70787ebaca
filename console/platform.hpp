#pragma once
// Everything a session needs from its machine besides the screen: keys,
// time, tones, the console's cursor and window requests, and the random
// source.

#include "console/random.hpp"

#include <cstdint>

namespace console {

class Platform {
  public:
    virtual ~Platform() = default;

    // True when a key code is waiting; never waits.
    virtual bool kbhit() = 0;
    // Waits for the next key code, without echo. Keys without a character
    // arrive as a prefix (0 or 224) and then a second code.
    virtual int getch() = 0;
    virtual void sleep(int ms) = 0;
    // Blocks for the tone's duration.
    virtual void beep(int hz, int ms) = 0;
    virtual void set_cursor_info(int size, bool visible) = 0;
    // Asks for the console's full-screen display or, where it has none, for
    // a window large enough for the session; each backend asks in its own
    // way, or not at all.
    virtual void request_full_screen() = 0;
    // Seconds since the epoch.
    virtual std::int64_t time() = 0;

    // The classic 15-bit generator by default, so a seed replays the same
    // game everywhere; test consoles may script the draws instead.
    virtual int rand() { return random_.next(); }
    virtual void srand(unsigned seed) { random_.seed(seed); }

  private:
    Random15 random_;
};

} // namespace console
