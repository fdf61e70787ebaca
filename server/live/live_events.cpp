#include "server/live/live_events.hpp"

namespace live {

void LiveEvents::append(const std::vector<replay::Event>& events, Mark mark) {
    {
        const std::lock_guard lock(mutex_);
        for (const replay::Event& event : events) {
            if (const auto* key = std::get_if<replay::KeyRead>(&event))
                keys_.push_back(*key);
            else if (const auto* time = std::get_if<replay::TimeRead>(&event))
                times_.push_back(time->seconds);
            else if (const auto* game = std::get_if<replay::GameEnded>(&event))
                recorded_.push_back(game->result);
        }
        frame_sent_ = std::max(frame_sent_, mark.frame);
        marks_.push_back(std::move(mark));
    }
    more_.notify_all();
}

void LiveEvents::close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    more_.notify_all();
}

void LiveEvents::poke() {
    {
        const std::lock_guard lock(mutex_);
        poked_ = true;
    }
    more_.notify_all();
}

void LiveEvents::played(const Mark& mark) {
    if (mark.seq <= played_seq_)
        return;
    played_seq_ = mark.seq;
    if (on_played_)
        on_played_(mark);
}

void LiveEvents::wait_for_more(std::unique_lock<std::mutex>& lock) {
    // All that came is played, as far as it goes.
    for (const Mark& mark : marks_)
        played(mark);
    if (!poked_)
        more_.wait(lock);
    if (poked_) {
        poked_ = false;
        lock.unlock();
        if (on_poke_)
            on_poke_();
        lock.lock();
    }
}

std::optional<bool> LiveEvents::key_waits() {
    std::unique_lock lock(mutex_);
    ++frames_seen_;
    for (;;) {
        if (!keys_.empty()) {
            if (misses_taken_ > keys_.front().misses)
                contradicted_ = true;
            if (misses_taken_ < keys_.front().misses) {
                ++misses_taken_;
                return false;
            }
            return true;
        }
        if (frames_seen_ < frame_sent_) {
            ++misses_taken_;
            return false;
        }
        if (closed_)
            return std::nullopt;
        wait_for_more(lock);
    }
}

std::optional<int> LiveEvents::take_key() {
    std::unique_lock lock(mutex_);
    while (keys_.empty() && !closed_)
        wait_for_more(lock);
    if (keys_.empty())
        return std::nullopt;
    const int code = keys_.front().code;
    keys_.pop_front();
    misses_taken_ = 0;
    return code;
}

std::optional<std::int64_t> LiveEvents::take_time() {
    std::unique_lock lock(mutex_);
    while (times_.empty() && !closed_)
        wait_for_more(lock);
    if (times_.empty())
        return std::nullopt;
    const std::int64_t seconds = times_.front();
    times_.pop_front();
    return seconds;
}

std::vector<Mark> LiveEvents::reached() {
    const std::lock_guard lock(mutex_);
    std::vector<Mark> taken;
    while (!marks_.empty() && marks_.front().frame <= frames_seen_) {
        played(marks_.front());
        taken.push_back(std::move(marks_.front()));
        marks_.pop_front();
    }
    return taken;
}

std::vector<game::Resultado> LiveEvents::recorded() const {
    const std::lock_guard lock(mutex_);
    return recorded_;
}

bool LiveEvents::contradicted() const {
    const std::lock_guard lock(mutex_);
    return contradicted_;
}

} // namespace live
