#pragma once
// Answers a session from a recording, in front of the platform it shows on
// (the terminal, the console window or the in-memory console): the clock and
// the keys come from the recording, the screen, sleeps and tones go on to
// the platform, each wait divided by the speed. A key the recorded session
// waited for is held on screen a moment, as the player saw it.
//
// When the recording has no answer left, or Esc is pressed on a watched
// keyboard, the session ends with console::SessionEnded{100}.

#include "console/forwarding_platform.hpp"
#include "replay/event_source.hpp"
#include "replay/recording.hpp"
#include "replay/recording_source.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace replay {

inline constexpr int MAX_SPEED = 16;

struct Pace {
    int speed = 1; // 1 to MAX_SPEED
    // Whether the platform's own keyboard may end the replay (Esc).
    bool watch_keyboard = false;
    // Whether a key the recorded session waited for is held on screen a
    // moment before it is taken; a live replay, timed against the player's
    // own clock, takes it at once.
    bool hold_awaited_keys = true;
};

// How long a key the session waited for stays on screen before it is
// taken: the first of a run of such keys, and each one after it.
inline constexpr int FIRST_AWAITED_KEY_MS = 1000;
inline constexpr int NEXT_AWAITED_KEY_MS = 200;

class ReplayingPlatform : public console::ForwardingPlatform {
  public:
    ReplayingPlatform(console::Platform& inner, const Recording& recording, Pace pace);
    // Its events from `source`, which outlives it.
    ReplayingPlatform(console::Platform& inner, EventSource& source, Pace pace);

    bool kbhit() override;
    int getch() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    std::int64_t time() override;

    // The session asked for more than the recording holds.
    bool ran_out() const { return ran_out_; }
    // The session's own time so far, in ms: every wait and tone passed on
    // to the platform, the pauses before awaited keys among them.
    std::int64_t waited_ms() const { return waited_ms_; }

  private:
    [[noreturn]] void run_out();
    void after_wait();
    void pass_on_sleep(int ms);

    std::optional<RecordingSource> own_;
    EventSource& source_;
    bool announced_ = false;   // kbhit said a key waits
    bool after_a_key_ = false; // nothing has waited since an awaited key
    bool ran_out_ = false;
    std::int64_t waited_ms_ = 0;
    Pace pace_;
};

} // namespace replay
