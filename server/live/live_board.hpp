#pragma once
// The board's live sessions: opened, each game dealt its seed, fed the
// batches of keys as they are played and replayed as they come, watched,
// and ended into a run on the board. A session's state is guarded on its
// own, so sessions never wait on each other; what must outlive a crash is
// committed by the keeper before the answer says it was taken.

#include "server/http/message.hpp"
#include "server/live/lag_counts.hpp"
#include "server/live/live_judge.hpp"
#include "server/store.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
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
// returns; it throws board::StoreError when it cannot. The store is where
// the servers sharing a database meet: a session any of them kept can be
// carried on by any other, and a change made on a copy that is behind is
// refused rather than made twice.
class LiveKeeper {
  public:
    virtual ~LiveKeeper() = default;
    // A new session's id.
    virtual std::int64_t opened(const board::LiveOpened& opened) = 0;
    // False: the session ended, or the store holds that game already.
    virtual bool dealt(std::int64_t session, const board::LiveDeal& deal) = 0;
    virtual board::LiveKept batch(std::int64_t session, const board::LiveBatch& batch) = 0;
    // The session as a run on the board: its recording and its games. The
    // answer is what POST /api/runs answers of a stored run; none, with
    // nothing stored, when the store holds other than `batches` batches
    // and `dealt` games, or has the session ended already.
    virtual std::optional<std::string> ended(std::int64_t session, const std::string& recording,
                                             const std::vector<EndedGame>& games,
                                             std::int64_t batches, int dealt) = 0;
    // The sessions not ended, for a server that starts.
    virtual std::vector<std::int64_t> open_sessions() = 0;
    // The session as kept, its batches after `after_seq`.
    virtual std::optional<board::KeptLive> kept(std::int64_t session, std::int64_t after_seq) = 0;
    // What POST /api/runs answers of the stored run `run`.
    virtual std::string run_body(std::int64_t run) = 0;
};

// What the board's live sessions took, those ended so far.
struct LiveTotals {
    std::int64_t sessions = 0;
    std::int64_t batches = 0;
    std::int64_t replay_cpu_ns = 0; // the replays' threads
    LagCounts replay_lags;
};

class LiveBoard {
  public:
    // log, when given, is told in a line how each dealt game was judged.
    LiveBoard(LiveKeeper& keeper, LiveLimits limits, std::function<std::int64_t()> now_ms,
              std::function<void(const std::string&)> log = {});
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

    // Takes up the sessions the store holds not ended, as a server does
    // when it starts (another may have fed them, or this one before it was
    // killed) and whenever it may have missed other servers' notices.
    void restore();
    // Another server changed a session, as a notice on the database says:
    // the copy here catches up with the store, or one is made, to be
    // watched here too.
    struct Change {
        std::int64_t session = 0;
        std::int64_t seq = 0; // a batch's; 0 for any other change
        bool ended = false;
    };
    void changed(const Change& change);

    // Ends the sessions no batch came for within the grace; called about
    // once a second.
    void sweep();

    LiveTotals totals() const;

    struct Session;

  private:
    // Here, else loaded from the store; none when the store has no such
    // session or cannot be read.
    std::shared_ptr<Session> find(std::int64_t id);
    std::shared_ptr<Session> load(std::int64_t id);
    // With the session's lock held: what the store holds beyond the copy
    // here, added to it. False when the store cannot be read.
    bool catch_up(Session& session);
    void take_kept(Session& session, const board::KeptLive& kept);
    void end(const std::shared_ptr<Session>& session);
    // With the session's lock held: the store refused this copy's end, as
    // another server fed or ended the session meanwhile; a new copy from
    // the store takes its place and its watchers.
    void reload(const std::shared_ptr<Session>& stale);

    LiveKeeper& keeper_;
    LiveLimits limits_;
    std::function<std::int64_t()> now_ms_;
    std::function<void(const std::string&)> log_;
    std::mutex mutex_;
    std::map<std::int64_t, std::shared_ptr<Session>> sessions_;
    mutable std::mutex totals_mutex_;
    LiveTotals totals_;
};

} // namespace live
