#pragma once
// The events of a session streamed live, between the board's threads that
// receive its batches and the thread that replays it. The replay takes keys
// and clock answers as the game asks for them and, once it has caught up
// with what was sent, waits for the next batch; a batch's frame lets the
// replay play on without keys up to the frame the player's game reached.

#include "replay/event_source.hpp"
#include "replay/recording.hpp"
#include "server/live/batch_body.hpp"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace live {

// Where a batch left the game, for the judge once the replay is there.
struct Mark {
    std::int64_t seq = 0;
    std::int64_t frame = 0;
    std::int64_t arrived_ms = 0; // the board's clock
    std::vector<BatchHold> holds;
    // Taken up from the store (a restart, another server's batch): it
    // arrived before this server saw it.
    bool restored = false;
};

class LiveEvents final : public replay::EventSource {
  public:
    // From a receiving thread, once the batch is committed.
    void append(const std::vector<replay::Event>& events, Mark mark);
    // Nothing more comes: the session ended, or was given up.
    void close();
    // Wakes the replay while it waits, to run `on_poke` on its own thread
    // (a watcher wants the whole screen) and then wait on.
    void poke();
    void on_poke(std::function<void()> run) { on_poke_ = std::move(run); }
    // Runs on the replay's thread for each batch, in order, once the replay
    // has played all it can of it: its frames reached, or the replay waiting
    // for more than the batches so far hold (the next batch, or the player).
    void on_played(std::function<void(const Mark&)> run) { on_played_ = std::move(run); }

    // The replay's side; each waits while it has nothing to answer with,
    // and gives none once closed and drained.
    // kbhit: whether a key waits at this frame. Only frames before the last
    // batch's are known to have none: a key of that frame may still be on
    // its way.
    std::optional<bool> key_waits() override;
    std::optional<int> take_key() override;
    std::optional<std::int64_t> take_time() override;
    // The games' ends the player's program wrote in the stream so far.
    std::vector<game::Resultado> recorded() const override;
    // The marks whose frame the replay has reached, taken.
    std::vector<Mark> reached();
    // The replay counted more frames without a key than the key that came
    // after them says: the batches' frames and keys disagree.
    bool contradicted() const;

  private:
    // Waits for more, running what a poke asked for meanwhile.
    void wait_for_more(std::unique_lock<std::mutex>& lock);
    void played(const Mark& mark);

    mutable std::mutex mutex_;
    std::condition_variable more_;
    std::deque<replay::KeyRead> keys_;
    std::deque<std::int64_t> times_;
    std::vector<game::Resultado> recorded_;
    std::deque<Mark> marks_;
    std::int64_t frame_sent_ = 0;   // the last batch's frame
    std::int64_t frames_seen_ = 0;  // kbhit calls so far
    std::int64_t misses_taken_ = 0; // since the last key taken
    std::int64_t played_seq_ = 0;   // the last batch told played
    bool closed_ = false;
    bool contradicted_ = false;
    bool poked_ = false;
    std::function<void()> on_poke_;
    std::function<void(const Mark&)> on_played_;
};

} // namespace live
