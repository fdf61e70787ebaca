#include "replay/replaying_platform.hpp"

#include "console/native.hpp"

#include <algorithm>

namespace replay {
namespace {

constexpr int ESC = 27;

} // namespace

ReplayingPlatform::ReplayingPlatform(console::Platform& inner, const Recording& recording,
                                     Pace pace)
    : ForwardingPlatform(inner), own_(std::in_place, recording), source_(*own_), pace_(pace) {
    pace_.speed = std::clamp(pace_.speed, 1, MAX_SPEED);
}

ReplayingPlatform::ReplayingPlatform(console::Platform& inner, EventSource& source, Pace pace)
    : ForwardingPlatform(inner), source_(source), pace_(pace) {
    pace_.speed = std::clamp(pace_.speed, 1, MAX_SPEED);
}

void ReplayingPlatform::run_out() {
    ran_out_ = true;
    throw console::SessionEnded{100};
}

bool ReplayingPlatform::kbhit() {
    const std::optional<bool> waits = source_.key_waits();
    if (!waits)
        run_out();
    announced_ = *waits;
    return *waits;
}

int ReplayingPlatform::getch() {
    const std::optional<int> code = source_.take_key();
    if (!code)
        run_out();
    if (!announced_ && pace_.hold_awaited_keys) {
        // The recorded session stopped here for the player: let the
        // screen be seen before the key is taken.
        pass_on_sleep((after_a_key_ ? NEXT_AWAITED_KEY_MS : FIRST_AWAITED_KEY_MS) / pace_.speed);
        after_wait();
        after_a_key_ = true;
    }
    announced_ = false;
    return *code;
}

void ReplayingPlatform::sleep(int ms) {
    pass_on_sleep(ms / pace_.speed);
    after_wait();
}

void ReplayingPlatform::beep(int hz, int ms) {
    waited_ms_ += std::max(0, ms / pace_.speed);
    inner().beep(hz, ms / pace_.speed);
    after_wait();
}

void ReplayingPlatform::pass_on_sleep(int ms) {
    waited_ms_ += std::max(0, ms);
    inner().sleep(ms);
}

std::int64_t ReplayingPlatform::time() {
    const std::optional<std::int64_t> seconds = source_.take_time();
    if (!seconds)
        run_out();
    return *seconds;
}

void ReplayingPlatform::after_wait() {
    after_a_key_ = false;
    if (!pace_.watch_keyboard)
        return;
    // Only Esc counts; Ctrl-C ends the session through the platform itself.
    while (inner().kbhit()) {
        const int code = inner().getch();
        if (code == 0 || code == 224)
            inner().getch(); // a key without a character: never Esc
        else if (code == ESC)
            throw console::SessionEnded{100};
    }
}

} // namespace replay
