#pragma once
// The sound card as the game's speaker. It is opened on first use; when
// there is none (or sound is off) every tone is silence, and the caller
// keeps the time itself.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace console::posix {

class Speaker {
  public:
    // `device` names the ALSA device; tests use one that needs no card.
    Speaker(int rate, bool enabled, const char* device = "default");
    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // Queues the samples and returns once the last of them is queued, a
    // short buffer's length before it has sounded. `on_signal` runs when a
    // signal breaks into the wait; it may throw. False when nothing plays.
    bool play(std::span<const std::int16_t> samples, const std::function<void()>& on_signal);
    // False once it is known that nothing will sound, so a caller need not
    // make the samples of a tone for nobody.
    bool may_sound() const { return enabled_ && (!tried_ || device_ != nullptr); }

  private:
    struct Device;
    int rate_;
    bool enabled_;
    const char* device_name_;
    bool tried_ = false;
    std::unique_ptr<Device> device_;
};

} // namespace console::posix
