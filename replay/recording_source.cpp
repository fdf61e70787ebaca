#include "replay/recording_source.hpp"

namespace replay {

RecordingSource::RecordingSource(const Recording& recording) : recording_(recording) {
    for (const Event& event : recording.events) {
        if (const auto* key = std::get_if<KeyRead>(&event))
            keys_.push_back(*key);
        else if (const auto* time = std::get_if<TimeRead>(&event))
            times_.push_back(time->seconds);
    }
    if (!keys_.empty())
        misses_left_ = keys_.front().misses;
}

std::optional<bool> RecordingSource::key_waits() {
    if (next_key_ == keys_.size())
        return std::nullopt;
    if (misses_left_ > 0) {
        --misses_left_;
        return false;
    }
    return true;
}

std::optional<int> RecordingSource::take_key() {
    if (next_key_ == keys_.size())
        return std::nullopt;
    const int code = keys_[next_key_++].code;
    misses_left_ = next_key_ < keys_.size() ? keys_[next_key_].misses : 0;
    return code;
}

std::optional<std::int64_t> RecordingSource::take_time() {
    if (next_time_ == times_.size())
        return std::nullopt;
    return times_[next_time_++];
}

std::vector<game::Resultado> RecordingSource::recorded() const {
    std::vector<game::Resultado> games;
    for (const Event& event : recording_.events)
        if (const auto* game = std::get_if<GameEnded>(&event))
            games.push_back(game->result);
    return games;
}

} // namespace replay
