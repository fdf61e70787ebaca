#pragma once
// The live sessions' clock, in ms since the epoch: the wall clock read once,
// when the server starts, moved on by the steady clock from then. Within a
// process it never steps back when the wall clock does, as the judge's
// windows need; and since it starts from the wall clock, the times it kept
// with a session's batches still compare with the times of a server that
// restarted, or of another server on the same database, which carries the
// session on (to within the machines' clocks, which NTP keeps close).

#include <chrono>
#include <cstdint>

namespace board {

class LiveClock {
  public:
    std::int64_t now_ms() const {
        return wall_at_start_ms_ + std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - steady_at_start_)
                                       .count();
    }

  private:
    std::chrono::steady_clock::time_point steady_at_start_ = std::chrono::steady_clock::now();
    std::int64_t wall_at_start_ms_ = std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::system_clock::now().time_since_epoch())
                                         .count();
};

} // namespace board
