#include "replay/replaying_platform.hpp"

#include "console/native.hpp"

#include <algorithm>

namespace replay {
namespace {

constexpr int ESC = 27;

} // namespace

ReplayingPlatform::ReplayingPlatform(console::Platform& inner, const Recording& recording,
                                     Pace pace)
    : ForwardingPlatform(inner), pace_(pace) {
    pace_.speed = std::clamp(pace_.speed, 1, MAX_SPEED);
    for (const Event& event : recording.events) {
        if (const auto* key = std::get_if<KeyRead>(&event))
            keys_.push_back(*key);
        else if (const auto* time = std::get_if<TimeRead>(&event))
            times_.push_back(time->seconds);
    }
    if (!keys_.empty())
        misses_left_ = keys_.front().misses;
}

void ReplayingPlatform::run_out() {
    ran_out_ = true;
    throw console::SessionEnded{100};
}

bool ReplayingPlatform::kbhit() {
    if (next_key_ == keys_.size())
        run_out();
    if (misses_left_ > 0) {
        --misses_left_;
        return false;
    }
    announced_ = true;
    return true;
}

int ReplayingPlatform::getch() {
    if (next_key_ == keys_.size())
        run_out();
    if (!announced_) {
        // The recorded session stopped here for the player: let the
        // screen be seen before the key is taken.
        pass_on_sleep((after_a_key_ ? NEXT_AWAITED_KEY_MS : FIRST_AWAITED_KEY_MS) / pace_.speed);
        after_wait();
        after_a_key_ = true;
    }
    const int code = keys_[next_key_++].code;
    misses_left_ = next_key_ < keys_.size() ? keys_[next_key_].misses : 0;
    announced_ = false;
    return code;
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
    if (next_time_ == times_.size())
        run_out();
    return times_[next_time_++];
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
