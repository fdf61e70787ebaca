#include "console/posix/wait_policy.hpp"

#include "console/posix/steady_ms.hpp"

#include <algorithm>

namespace console::posix {
namespace {

// Even with no signal to say so, the size is looked at this often while
// a wait goes on: not every terminal reports a resize to its process.
constexpr int recheck_ms = 1000;

} // namespace

void WaitPolicy::wait(std::optional<std::int64_t> until_ms, bool for_key) {
    // Each wake-up costs a core more than the little it does, so between
    // looks a wait does nothing but poll: keys are read as they come.
    bool look = true;
    bool signalled = false;
    std::int64_t next_look = 0;
    for (;;) {
        if (look) {
            take_signals(signalled);
            view_.send_growth_request();
            view_.update_size();
            if (!view_.fits()) {
                const std::int64_t paused = wait_for_room();
                if (until_ms)
                    *until_ms += paused;
                continue;
            }
            view_.flush();
            look = false;
            next_look = steady_ms() + recheck_ms;
        }
        if (for_key && input_.has_key())
            return;
        const std::int64_t now = steady_ms();
        if (until_ms && now >= *until_ms)
            return;
        if (now >= next_look) {
            look = true;
            continue;
        }
        std::int64_t wake = next_look;
        if (until_ms)
            wake = std::min(wake, *until_ms);
        if (const auto decided = input_.key_deadline())
            wake = std::min(wake, *decided);
        signalled = input_.pump(static_cast<int>(std::max<std::int64_t>(0, wake - now)));
        look = signalled;
    }
}

bool WaitPolicy::take_signals(bool woke) {
    const bool reentered = input_.take_signals(woke);
    if (reentered)
        view_.forget_terminal();
    return reentered;
}

std::int64_t WaitPolicy::wait_for_room() {
    const std::int64_t start = steady_ms();
    std::optional<TerminalSize> notice_for;
    bool signalled = false;
    for (;;) {
        if (take_signals(signalled))
            notice_for.reset();
        view_.update_size();
        if (view_.fits())
            break;
        if (notice_for != view_.size()) {
            view_.show_size_notice();
            notice_for = view_.size();
        }
        signalled = input_.pump(recheck_ms);
        // Keys typed at a hidden game are not for it.
        input_.discard_keys();
    }
    view_.redraw_all();
    return steady_ms() - start;
}

} // namespace console::posix
