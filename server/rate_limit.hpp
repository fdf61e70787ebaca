#pragma once
// Submissions a minute per address: each address has a bucket of
// `per_minute` tokens that refills evenly over a minute, and a submission
// takes one. Buckets that refilled are forgotten, so the table stays as
// small as the set of addresses sending now.

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace board {

class RateLimit {
  public:
    // 0: no limit.
    explicit RateLimit(int per_minute) : per_minute_(per_minute) {}

    // 0 when the address may submit now (and a token is taken); else the
    // seconds until it may.
    std::int64_t take(const std::string& address, std::int64_t now_ms);

  private:
    struct Bucket {
        double tokens = 0;
        std::int64_t at_ms = 0;
    };
    int per_minute_;
    std::mutex mutex_;
    std::map<std::string, Bucket> buckets_;
    std::int64_t last_sweep_ms_ = 0;
};

} // namespace board
