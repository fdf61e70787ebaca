#pragma once
// How long batches took from their arrival until the replay had played
// them and passed what they drew on to the watchers: counts by the
// millisecond, so that a board up for months keeps the same few kilobytes,
// and its percentiles can be told as it stops.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace live {

class LagCounts {
  public:
    // Longer lags are counted together, as this long.
    static constexpr std::int64_t MOST_MS = 10'000;

    void add(std::int64_t ms) {
        ++counts_[static_cast<std::size_t>(std::clamp<std::int64_t>(ms, 0, MOST_MS))];
        ++total_;
    }
    void add(std::span<const std::int32_t> lags) {
        for (const std::int32_t ms : lags)
            add(ms);
    }

    std::int64_t total() const { return total_; }
    // The least lag that `share` (0 to 1) of the batches took at most;
    // none before any batch.
    std::optional<std::int64_t> percentile(double share) const {
        if (total_ == 0)
            return std::nullopt;
        const auto wanted = std::max<std::int64_t>(
            1, static_cast<std::int64_t>(share * static_cast<double>(total_) + 0.999999));
        std::int64_t seen = 0;
        for (std::size_t ms = 0; ms < counts_.size(); ++ms)
            if ((seen += counts_[ms]) >= wanted)
                return static_cast<std::int64_t>(ms);
        return MOST_MS;
    }

  private:
    std::array<std::int64_t, MOST_MS + 1> counts_{};
    std::int64_t total_ = 0;
};

} // namespace live
