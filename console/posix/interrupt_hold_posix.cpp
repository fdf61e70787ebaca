#include "console/interrupt_hold.hpp"

#include <array>
#include <atomic>
#include <csignal>

namespace console {
namespace {

constexpr std::array held{SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::array<struct sigaction, held.size()> previous{};
std::atomic<bool> came{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void note(int) {
    came.store(true);
}

} // namespace

InterruptHold::InterruptHold() {
    came.store(false);
    struct sigaction hold {};
    hold.sa_handler = note;
    sigemptyset(&hold.sa_mask);
    // Restarted: what is written meanwhile is not cut short by the signal.
    hold.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < held.size(); ++i)
        sigaction(held[i], &hold, &previous[i]);
}

InterruptHold::~InterruptHold() {
    for (std::size_t i = 0; i < held.size(); ++i)
        sigaction(held[i], &previous[i], nullptr);
}

bool InterruptHold::interrupted() const {
    return came.load();
}

} // namespace console
