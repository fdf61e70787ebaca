#pragma once
// A ranked session played live: opened on a board before the terminal is
// touched, each game dealt its seed as it starts, its keys streamed as they
// are typed, and what the board made of it told once the terminal is given
// back. The recording is kept in its file either way, so a stream that was
// cut can still be sent later as an open run.

#include "app/live/boards.hpp"
#include "app/live/feed_tee.hpp"
#include "app/live/live_feed.hpp"
#include "app/live/live_platform.hpp"
#include "app/live/live_protocol.hpp"
#include "app/live/live_sender.hpp"
#include "app/live/sender_loop.hpp"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace live {

// The machine's monotonic clock, in ms.
std::int64_t steady_ms();
// http::send, as the session posts.
http::Outcome post_to_board(const http::Request& request, http::TimeLimits limits);

// The longest a game waits for its deal, from every board it asks, before
// it plays open.
inline constexpr std::chrono::milliseconds DEAL_WAIT{5'000};

struct Patience {
    // The longest without an acknowledged batch before the stream is
    // given up, and the game plays on without it.
    std::int64_t grace_ms = 10'000;
    // After the session, how long its last batches may take to be
    // acknowledged.
    std::chrono::milliseconds last_wait{10'000};
};

class Session {
  public:
    // Opens the session on the first of `boards` that answers; none, with one
    // line on `err` saying why, when none does.
    static std::unique_ptr<Session> open(const std::vector<std::string>& boards, Post post,
                                         std::function<std::int64_t()> steady_ms, std::ostream& err,
                                         Patience patience = {});

    Session(std::vector<std::string> boards, Post post, Opened opened,
            std::function<std::int64_t()> steady_ms, Patience patience = {});

    Feed& feed() { return feed_; }
    // For LivePlatform: asks the board the next game's seed, for a game of
    // `name` (as the game holds it) begun on `level`.
    GameDeal deal(const std::string& name, int level);

    // The last batches sent, then the board's word on the run (standard
    // output) or why the stream stopped short and how to send the file
    // (standard error). 0 when the run is on the board as streamed.
    int finish(const std::string& recording, std::ostream& out, std::ostream& err);

  private:
    Boards boards_;
    Post post_;
    Opened opened_;
    std::function<std::int64_t()> steady_ms_;
    Patience patience_;
    Feed feed_;
    std::vector<GameDeal> deals_; // the game's thread's alone
    Sender sender_;
    SenderLoop loop_;
};

} // namespace live
