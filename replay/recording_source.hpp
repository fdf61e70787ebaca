#pragma once
// A recording's events, held whole, as a replay takes them.

#include "replay/event_source.hpp"
#include "replay/recording.hpp"

#include <cstddef>
#include <vector>

namespace replay {

class RecordingSource final : public EventSource {
  public:
    explicit RecordingSource(const Recording& recording);

    std::optional<bool> key_waits() override;
    std::optional<int> take_key() override;
    std::optional<std::int64_t> take_time() override;
    std::vector<game::Resultado> recorded() const override;
    bool cut_short() const override { return recording_.cut_short; }
    int last_line() const override { return recording_.last_line; }

  private:
    const Recording& recording_;
    std::vector<KeyRead> keys_;
    std::vector<std::int64_t> times_;
    std::size_t next_key_ = 0;
    std::size_t next_time_ = 0;
    std::int64_t misses_left_ = 0;
};

} // namespace replay
