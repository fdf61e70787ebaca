#include "server/live/delay_line.hpp"

#include <algorithm>
#include <utility>

namespace live {
namespace {

constexpr std::int64_t LEAST_SCREEN_EVERY_MS = 1000;
// What an entry costs besides its event's bytes.
constexpr std::size_t ENTRY_BYTES = 64;

} // namespace

DelayLine::DelayLine(std::int64_t delay_ms, std::size_t most_bytes)
    : delay_ms_(delay_ms), most_bytes_(most_bytes),
      screen_every_ms_(std::max(LEAST_SCREEN_EVERY_MS, delay_ms / 10)) {}

void DelayLine::output(std::int64_t now_ms, std::string event) {
    add(Entry{now_ms, Kind::output, std::move(event), 0});
}

void DelayLine::screen(std::int64_t now_ms, std::string event) {
    add(Entry{now_ms, Kind::screen, std::move(event), 0});
}

void DelayLine::points(std::int64_t now_ms, std::int64_t points) {
    add(Entry{now_ms, Kind::points, {}, points});
}

bool DelayLine::ask_screen(std::int64_t now_ms) {
    if (screen_asked_ms_ && now_ms - *screen_asked_ms_ < screen_every_ms_)
        return false;
    screen_asked_ms_ = now_ms;
    return true;
}

void DelayLine::add(Entry entry) {
    bytes_ += entry.event.size() + ENTRY_BYTES;
    entries_.push_back(std::move(entry));
    while (bytes_ > most_bytes_ && entries_.size() > 1) {
        bytes_ -= entries_.front().event.size() + ENTRY_BYTES;
        entries_.pop_front();
        if (released_ > 0)
            --released_;
        else
            skipping_ = true;
    }
}

DelayLine::Released DelayLine::release(std::int64_t now_ms) {
    Released out;
    const std::int64_t horizon = now_ms - delay_ms_;
    for (; released_ < entries_.size() && entries_[released_].at_ms <= horizon; ++released_) {
        const Entry& e = entries_[released_];
        switch (e.kind) {
        case Kind::output:
            if (!skipping_)
                out.events += e.event;
            break;
        case Kind::screen:
            // Those watching drew every piece before it: they need it only
            // when some were lost.
            if (skipping_)
                out.events += e.event;
            skipping_ = false;
            break;
        case Kind::points:
            out.points = e.points;
            break;
        }
    }
    forget_released();
    return out;
}

void DelayLine::forget_released() {
    std::size_t last_screen = 0;
    bool found = false;
    for (std::size_t i = released_; i > 0; --i)
        if (entries_[i - 1].kind == Kind::screen) {
            last_screen = i - 1;
            found = true;
            break;
        }
    // With no screen released, what was released serves nobody.
    const std::size_t drop = found ? last_screen : released_;
    for (std::size_t i = 0; i < drop; ++i) {
        bytes_ -= entries_.front().event.size() + ENTRY_BYTES;
        entries_.pop_front();
    }
    released_ -= drop;
}

std::optional<std::string> DelayLine::joined() const {
    if (released_ == 0 || entries_.front().kind != Kind::screen || skipping_)
        return std::nullopt;
    std::string events;
    for (std::size_t i = 0; i < released_; ++i)
        if (entries_[i].kind != Kind::points)
            events += entries_[i].event;
    return events;
}

} // namespace live
