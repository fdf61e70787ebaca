#include "app/live/live_feed.hpp"

#include <utility>

namespace live {

void Feed::write(std::string_view text) {
    const std::lock_guard lock(mutex_);
    if (overflowed_)
        return;
    partial_ += text;
    const auto end = partial_.rfind('\n');
    if (end == std::string::npos)
        return;
    if (waiting_.size() + end + 1 > most_waiting_) {
        // A gap in the lines would make the rest unreadable: stop whole.
        overflowed_ = true;
        partial_.clear();
        return;
    }
    waiting_.append(partial_, 0, end + 1);
    partial_.erase(0, end + 1);
}

void Feed::reach(std::int64_t frame) {
    const std::lock_guard lock(mutex_);
    frame_ = frame;
}

void Feed::hold(Hold held) {
    const std::lock_guard lock(mutex_);
    holds_.push_back(held);
}

void Feed::end() {
    const std::lock_guard lock(mutex_);
    ended_ = true;
}

std::optional<Batch> Feed::next() {
    const std::lock_guard lock(mutex_);
    if (finished_)
        return std::nullopt;
    if (!in_flight_)
        in_flight_ = Batch{++cut_, std::exchange(waiting_, {}), frame_, std::exchange(holds_, {}),
                           ended_ && !overflowed_};
    return in_flight_;
}

void Feed::acknowledged(std::int64_t seq) {
    const std::lock_guard lock(mutex_);
    if (!in_flight_ || in_flight_->seq != seq)
        return;
    finished_ = in_flight_->last;
    in_flight_.reset();
}

bool Feed::overflowed() const {
    const std::lock_guard lock(mutex_);
    return overflowed_;
}

bool Feed::finished() const {
    const std::lock_guard lock(mutex_);
    return finished_;
}

} // namespace live
