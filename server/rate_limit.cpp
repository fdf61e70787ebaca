#include "server/rate_limit.hpp"

#include <algorithm>
#include <cmath>

namespace board {
namespace {

constexpr double MINUTE_MS = 60'000.0;

} // namespace

std::int64_t RateLimit::take(const std::string& address, std::int64_t now_ms) {
    if (per_minute_ <= 0)
        return 0;
    const double full = per_minute_;
    const double per_ms = full / MINUTE_MS;
    const std::lock_guard lock(mutex_);
    if (now_ms - last_sweep_ms_ >= MINUTE_MS) {
        std::erase_if(buckets_, [&](const auto& entry) {
            return entry.second.tokens + (now_ms - entry.second.at_ms) * per_ms >= full;
        });
        last_sweep_ms_ = now_ms;
    }
    auto [it, fresh] = buckets_.try_emplace(address, Bucket{full, now_ms});
    Bucket& b = it->second;
    b.tokens = std::min(full, b.tokens + std::max<std::int64_t>(0, now_ms - b.at_ms) * per_ms);
    b.at_ms = now_ms;
    if (b.tokens >= 1.0) {
        b.tokens -= 1.0;
        return 0;
    }
    return std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::ceil((1.0 - b.tokens) / per_ms / 1000.0)));
}

} // namespace board
