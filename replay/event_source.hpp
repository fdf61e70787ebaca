#pragma once
// Where a replay takes the session's keys and clock answers from: a
// recording held whole, or a live session's that grows as its batches come
// (and waits for them). Each answer is none once the events ran out.

#include "game/resultado.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace replay {

class EventSource {
  public:
    virtual ~EventSource() = default;
    // The keyboard test of the next frame: whether a key waits.
    virtual std::optional<bool> key_waits() = 0;
    virtual std::optional<int> take_key() = 0;
    virtual std::optional<std::int64_t> take_time() = 0;

    // How each game ended as the player's program wrote it, to compare the
    // replay with; whether its last line was cut off, and which it was.
    virtual std::vector<game::Resultado> recorded() const = 0;
    virtual bool cut_short() const { return false; }
    virtual int last_line() const { return 0; }
};

} // namespace replay
