#pragma once
// A live game's batch as a stranger sends it, read strictly: anything but
// the expected fields of the expected types and sizes is refused whole,
// with the reason the 400 answer gives.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace live {

// More lines than a quarter of a second of play can type, by far.
inline constexpr std::size_t MOST_BATCH_LINE_BYTES = 64 * 1024;
inline constexpr std::size_t MOST_BATCH_HOLDS = 16;

// Where the player's game stood still, and for how long; `key`: waiting for
// a key (a prompt, the pause), which the replay must find there too.
struct BatchHold {
    std::int64_t frame = 0;
    std::int64_t ms = 0;
    bool key = false;
    friend bool operator==(const BatchHold&, const BatchHold&) = default;
};

struct BatchBody {
    std::string secret;
    std::int64_t seq = 0;
    std::string lines;
    std::int64_t frame = 0;
    std::vector<BatchHold> holds;
    bool last = false;
};

struct Refused {
    std::string why;
};

std::variant<BatchBody, Refused> read_batch(std::string_view body);

// The deal's ask: the session's secret, the name typed and the level key.
struct DealBody {
    std::string secret;
    std::string name; // UTF-8, as typed
    int level = 0;
};

std::variant<DealBody, Refused> read_deal(std::string_view body);

} // namespace live
