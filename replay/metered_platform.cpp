#include "replay/metered_platform.hpp"

#include <algorithm>

namespace replay {
namespace {

// Reading a CPU clock is a system call: a wait point is far cheaper.
constexpr int WAITS_BETWEEN_CPU_READS = 64;

} // namespace

MeteredPlatform::MeteredPlatform(ReplayingPlatform& player, const Budget& budget)
    // As a Platform: as its own base, the replaying platform would be copied.
    : ForwardingPlatform(static_cast<console::Platform&>(player)), player_(player),
      budget_(budget) {
    if (budget_.cpu_ns > 0 && budget_.cpu_clock)
        cpu_start_ = budget_.cpu_clock();
}

bool MeteredPlatform::kbhit() {
    ++frames_;
    waited();
    return ForwardingPlatform::kbhit();
}

void MeteredPlatform::sleep(int ms) {
    own_ms_ += std::max(0, ms);
    ForwardingPlatform::sleep(ms);
    waited();
}

void MeteredPlatform::beep(int hz, int ms) {
    own_ms_ += std::max(0, ms);
    ForwardingPlatform::beep(hz, ms);
    waited();
}

std::int64_t MeteredPlatform::time() {
    last_time_ = ForwardingPlatform::time();
    return *last_time_;
}

void MeteredPlatform::waited() {
    if (budget_.session_ms > 0 && player_.waited_ms() > budget_.session_ms)
        throw OverBudget{Verdict::Outcome::over_session_time};
    if (budget_.cpu_ns > 0 && budget_.cpu_clock && ++waits_ % WAITS_BETWEEN_CPU_READS == 0 &&
        budget_.cpu_clock() - cpu_start_ > budget_.cpu_ns)
        throw OverBudget{Verdict::Outcome::over_cpu};
}

} // namespace replay
