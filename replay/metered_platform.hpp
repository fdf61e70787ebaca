#pragma once
// In front of the replaying platform: counts the frames (the game asks
// whether a key waits once a frame, and nowhere else) and the game's own
// waits, notes the clock's last answer, and stops the session once it has
// cost more than its budget.

#include "console/forwarding_platform.hpp"
#include "replay/replaying_platform.hpp"
#include "replay/verdict.hpp"

#include <cstdint>
#include <optional>

namespace replay {

// Thrown at the wait point where the replay went over its budget.
struct OverBudget {
    Verdict::Outcome outcome;
};

class MeteredPlatform : public console::ForwardingPlatform {
  public:
    // The budget is held by reference: it outlives the session.
    MeteredPlatform(ReplayingPlatform& player, const Budget& budget);

    bool kbhit() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    std::int64_t time() override;

    std::int64_t frames() const { return frames_; }
    // The game's own waits and tones: the least time it took when played,
    // without the pauses the replay makes before each awaited key.
    std::int64_t own_ms() const { return own_ms_; }
    // The last clock answer since the last mark.
    std::optional<std::int64_t> last_time() const { return last_time_; }
    void mark() { last_time_.reset(); }

  private:
    void waited();

    const ReplayingPlatform& player_;
    const Budget& budget_;
    std::int64_t cpu_start_ = 0;
    std::int64_t frames_ = 0;
    std::int64_t waits_ = 0;
    std::int64_t own_ms_ = 0;
    std::optional<std::int64_t> last_time_;
};

} // namespace replay
