#pragma once
// The boards a live session may talk to (--server, given once or more), and
// the one it talks to now. When one stops answering, the session moves on to
// the next, round the list; the deal (the game's thread) and the batches (the
// sender's) share the choice.

#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace live {

class Boards {
  public:
    explicit Boards(std::vector<std::string> addresses) : addresses_(std::move(addresses)) {}

    std::size_t size() const { return addresses_.size(); }
    std::string current() const {
        const std::lock_guard lock(mutex_);
        return addresses_.empty() ? std::string() : addresses_[at_];
    }
    // `address` did not answer; the next one is tried, unless another
    // thread moved on already.
    void failed(const std::string& address) {
        const std::lock_guard lock(mutex_);
        if (!addresses_.empty() && addresses_[at_] == address)
            at_ = (at_ + 1) % addresses_.size();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> addresses_;
    std::size_t at_ = 0;
};

} // namespace live
