#pragma once

#include <cstdint>

namespace console {

// The linear congruential generator of the classic C runtimes: the same seed
// gives the same draws on every platform.
class Random15 {
  public:
    void seed(unsigned s) { state_ = s; }
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7fffu);
    }

  private:
    std::uint32_t state_ = 1;
};

} // namespace console
