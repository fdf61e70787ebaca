#pragma once
// Sends a live session's batches in order, each until the board
// acknowledges it. One step a tick: the batch in flight is sent again until
// acknowledged, so a lost answer costs a resend and never a gap. A board
// that does not answer gives way to the next; one that has not acknowledged
// anything for the grace ends the stream, and the game plays on.
//
// A step is a request and its answer. A thread of its own posts and waits
// (step); a page, which has no such thread, sends due() and hands the
// answer to answered() when it comes, at a later wait of the game.

#include "app/http/client.hpp"
#include "app/live/boards.hpp"
#include "app/live/live_feed.hpp"
#include "app/live/live_protocol.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace live {

using Post = std::function<http::Outcome(const http::Request&, http::TimeLimits)>;

class Sender {
  public:
    enum class State {
        waiting, // no game dealt yet: nothing to send
        streaming,
        done,     // the last batch was acknowledged
        ended,    // the board ended the game (409)
        refused,  // the board will not take the stream (403, 400, 413...)
        lost,     // nothing acknowledged for longer than the grace
        overflow, // the feed filled while the board did not answer
    };

    // A batch is small and the next tick sends it again: waiting long on one
    // answer only delays the ones behind it.
    static constexpr http::TimeLimits LIMITS{std::chrono::milliseconds{2'000},
                                             std::chrono::milliseconds{3'000}};

    Sender(Feed& feed, Boards& boards, Post post, Opened session, std::int64_t grace_ms);

    // From the game's thread: the batches that follow carry this secret.
    void dealt(const std::string& game_secret, std::int64_t now_ms);
    // due(), posted, and its answer read.
    void step(std::int64_t now_ms);
    // The batch to send now, if the stream goes on; its answer, or why none
    // came, goes to answered() before the next due().
    std::optional<http::Request> due();
    void answered(const http::Outcome& outcome, std::int64_t now_ms);

    State state() const;
    // Why the stream stopped, in English, when it did not end as done.
    std::string why() const;
    // The board's answer about the stored run, with the last batch.
    std::string run_body() const;
    bool stopped() const;

  private:
    struct Sent {
        std::string board;
        std::int64_t seq = 0;
        bool last = false;
    };

    void stop(State state, std::string why);

    Feed& feed_;
    Boards& boards_;
    Post post_;
    Opened session_;
    std::int64_t grace_ms_;

    mutable std::mutex mutex_;
    State state_ = State::waiting;
    std::string game_secret_;
    std::int64_t last_progress_ms_ = 0;
    std::string why_;
    std::string run_body_;
    std::optional<Sent> sent_; // due() and answered()'s thread's alone
};

} // namespace live
