// Interrupts held around a session: none ends the program while it writes
// down the games, the session inside still answers its own, and afterwards
// each signal does what it did before.
#include "console/interrupt_hold.hpp"
#include "console/posix/signal_watch.hpp"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <csignal>

namespace {

constexpr std::array interrupts{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

std::atomic<int> counted{0};
void count(int) {
    counted.fetch_add(1);
}

// A handler of the test's own in place of every interrupt's, for the test's
// length, so one that gets through is counted instead of ending the run.
class CountedInterrupts {
  public:
    CountedInterrupts() {
        counted.store(0);
        struct sigaction ours {};
        ours.sa_handler = count;
        sigemptyset(&ours.sa_mask);
        for (std::size_t i = 0; i < interrupts.size(); ++i)
            sigaction(interrupts[i], &ours, &before_[i]);
    }
    ~CountedInterrupts() {
        for (std::size_t i = 0; i < interrupts.size(); ++i)
            sigaction(interrupts[i], &before_[i], nullptr);
    }
    CountedInterrupts(const CountedInterrupts&) = delete;
    CountedInterrupts& operator=(const CountedInterrupts&) = delete;

  private:
    std::array<struct sigaction, interrupts.size()> before_{};
};

TEST(InterruptHold, HoldsEveryInterruptThenPutsBackWhatWasThere) {
    const CountedInterrupts before;
    {
        const console::InterruptHold hold;
        EXPECT_FALSE(hold.interrupted());
        for (const int sig : interrupts)
            std::raise(sig);
        EXPECT_TRUE(hold.interrupted());
        EXPECT_EQ(counted.load(), 0) << "an interrupt got past the hold";
    }
    for (const int sig : interrupts)
        std::raise(sig);
    EXPECT_EQ(counted.load(), static_cast<int>(interrupts.size()));

    const console::InterruptHold again;
    EXPECT_FALSE(again.interrupted()) << "a new hold starts clear";
}

TEST(InterruptHold, ASessionInsideAnswersItsOwnAndTheHoldTakesOverAfterIt) {
    const CountedInterrupts before;
    const console::InterruptHold hold;
    {
        console::posix::SignalWatch session;
        std::raise(SIGINT);
        EXPECT_TRUE(session.take().end);
        EXPECT_FALSE(hold.interrupted()) << "the session answered it";
    }
    // The second Ctrl-C, after the session gave the terminal back.
    std::raise(SIGINT);
    EXPECT_TRUE(hold.interrupted());
    EXPECT_EQ(counted.load(), 0);
}

} // namespace
