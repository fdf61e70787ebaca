#pragma once
// How the terminal backend waits. Every wait point (a sleep, a tone's start
// and end, a key wait) acts on the signals, fits the model to the terminal
// and shows the latest frame; while it waits it polls the keyboard and the
// signals together, so either is noticed at once, and looks at the signals
// and the size again only when a signal woke it or a second has passed. A
// terminal too small for the session holds the wait behind the size notice,
// and that time does not count.

#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_view.hpp"

#include <cstdint>
#include <optional>

namespace console::posix {

class WaitPolicy {
  public:
    WaitPolicy(TerminalInput& input, TerminalView& view) : input_(input), view_(view) {}

    // Until the steady clock reaches `until_ms` or, `for_key`, a key is
    // there; with neither, only a key ends it.
    void wait(std::optional<std::int64_t> until_ms, bool for_key);

    // Acts on the signals that came; true when the terminal was left and
    // entered again, after which it is drawn afresh. `woke`: a signal woke
    // the last poll.
    bool take_signals(bool woke = false);

  private:
    // Shows the size notice until the terminal is large enough; the time it
    // took, so an interrupted wait can go on as if it had not been.
    std::int64_t wait_for_room();

    TerminalInput& input_;
    TerminalView& view_;
};

} // namespace console::posix
