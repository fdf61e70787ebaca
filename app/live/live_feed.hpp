#pragma once
// What a live session hands its sender: the recording's lines as the game
// writes them, the frame it has reached, and the times it was held waiting
// on the player. The game's thread adds and never waits on the network; the
// sender's thread cuts batches. A batch keeps its number and its bytes
// until the board acknowledges it, so sending it again is harmless.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace live {

// The game stood still at `frame` for `ms` beyond what it asked of the
// platform: a prompt or the pause (`key`: it was waiting for a key), or,
// anywhere, the terminal's too-small notice or a suspended process.
struct Hold {
    std::int64_t frame = 0;
    std::int64_t ms = 0;
    bool key = false;
    friend bool operator==(const Hold&, const Hold&) = default;
};

struct Batch {
    std::int64_t seq = 0; // 1, 2, ... in the order cut
    std::string lines;    // whole recording lines, each with its '\n'
    std::int64_t frame = 0;
    std::vector<Hold> holds;
    bool last = false; // the session is over: nothing follows
};

class Feed {
  public:
    // More than this many bytes waiting is more than a board that answers
    // could let pile up; past it the feed stops taking lines and says so.
    explicit Feed(std::size_t most_waiting_bytes = std::size_t{4} << 20)
        : most_waiting_(most_waiting_bytes) {}

    // The game's side. Text may hold part of a line: only whole lines go.
    void write(std::string_view text);
    void reach(std::int64_t frame);
    void hold(Hold held);
    void end();

    // The sender's side: the batch not yet acknowledged, else a new one cut
    // from what waits (empty of lines it still says where the game is);
    // none once the last batch was acknowledged.
    std::optional<Batch> next();
    void acknowledged(std::int64_t seq);

    bool overflowed() const;
    bool finished() const; // the last batch was acknowledged

  private:
    mutable std::mutex mutex_;
    std::size_t most_waiting_;
    std::string partial_;
    std::string waiting_;
    std::vector<Hold> holds_;
    std::int64_t frame_ = 0;
    bool ended_ = false;
    bool overflowed_ = false;
    bool finished_ = false;
    std::int64_t cut_ = 0;
    std::optional<Batch> in_flight_;
};

} // namespace live
