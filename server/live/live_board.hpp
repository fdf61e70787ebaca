#pragma once
// The board's live sessions: opened, each game dealt its seed, fed the
// batches of keys as they are played and replayed as they come, watched,
// and ended into a run on the board. A session's state is guarded on its
// own, so sessions never wait on each other; what must outlive a crash is
// committed by the keeper before the answer says it was taken.

#include "server/http/message.hpp"
#include "server/live/live_judge.hpp"
#include "server/store.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace live {

struct LiveLimits {
    int sessions_per_address = 4;
    int watchers_per_address = 32;
    // A session without a batch for this long is ended where its replay
    // stands, its game cut off.
    std::int64_t grace_ms = 10'000;
    // What a watcher may fall behind before it is dropped.
    std::size_t watcher_behind_bytes = std::size_t{1} << 20;
    // Watchers see each game this much later than it is played; 0: as it
    // is. A session's delay line holds at most delay_bytes of it.
    std::int64_t delay_ms = 0;
    std::size_t delay_bytes = std::size_t{2} << 20;
    JudgeRules rules;
};

// A game of an ended session as the board stores it.
struct EndedGame {
    board::Game game;
    std::string open_reason; // empty: ranked
    int holds = 0;
    std::int64_t held_ms = 0;
};

// What the board keeps of its live sessions, each call committed before it
// returns; it throws board::StoreError when it cannot.
class LiveKeeper {
  public:
    virtual ~LiveKeeper() = default;
    // A new session's id.
    virtual std::int64_t opened(std::int64_t at_ms) = 0;
    virtual void dealt(std::int64_t session, int game, std::uint32_t seed, std::int64_t at_ms) = 0;
    virtual void batch(std::int64_t session, std::int64_t seq, std::int64_t at_ms,
                       const std::string& lines) = 0;
    // The session as a run on the board: its recording and its games. The
    // answer is what POST /api/runs answers of a stored run.
    virtual std::string ended(std::int64_t session, const std::string& recording,
                              const std::vector<EndedGame>& games) = 0;
};

// What the board's live sessions took, those ended so far.
struct LiveTotals {
    std::int64_t sessions = 0;
    std::int64_t batches = 0;
    std::int64_t replay_cpu_ns = 0; // the replays' threads
};

class LiveBoard {
  public:
    LiveBoard(LiveKeeper& keeper, LiveLimits limits, std::function<std::int64_t()> now_ms);
    ~LiveBoard();
    LiveBoard(const LiveBoard&) = delete;
    LiveBoard& operator=(const LiveBoard&) = delete;

    board::http::Response open(const board::http::Request& request);
    board::http::Response deal(std::int64_t session, const board::http::Request& request);
    board::http::Response batch(std::int64_t session, const board::http::Request& request);
    // GET /api/live: the games in play.
    board::http::Response list();
    // GET /api/live/ID/stream: the session as it is played.
    board::http::Response watch(std::int64_t session, const board::http::Request& request);
    bool playing(std::int64_t session);

    // Ends the sessions no batch came for within the grace; called about
    // once a second.
    void sweep();

    LiveTotals totals() const;

    struct Session;

  private:
    std::shared_ptr<Session> find(std::int64_t id);
    void end(const std::shared_ptr<Session>& session);

    LiveKeeper& keeper_;
    LiveLimits limits_;
    std::function<std::int64_t()> now_ms_;
    std::mutex mutex_;
    std::map<std::int64_t, std::shared_ptr<Session>> sessions_;
    mutable std::mutex totals_mutex_;
    LiveTotals totals_;
};

} // namespace live
