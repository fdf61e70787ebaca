#pragma once
// A session streamed live, replayed as its batches arrive, on a thread of
// its own that waits whenever it has caught up: each batch costs the
// frames it adds, never the game so far. The replay is the one the board
// trusts: its screen is what watchers see, its games are what the board
// stores, and it judges each dealt game's time as the game goes.

#include "game/resultado.hpp"
#include "replay/cast_terminal.hpp"
#include "server/live/live_events.hpp"
#include "server/live/live_judge.hpp"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace live {

// What the board dealt a game: its seed, and when (the board's clock).
struct DealtGame {
    std::uint32_t seed = 0;
    std::int64_t dealt_ms = 0;
};

// A dealt game as the replay judged it.
struct LiveVerdict {
    game::Resultado result;
    bool ended = false;                     // its end was replayed, not cut off with the stream
    std::optional<std::string> open_reason; // none: ranked
    int holds = 0;
    std::int64_t held_ms = 0;
    std::int64_t frames = 0;
    double worst_ratio = 0; // Judge::worst_ratio at its end
};

struct LiveHooks {
    // The game the board dealt this seed to and has not seen played yet, by
    // its number from 1; none when it dealt no such game (the player's deal
    // failed and the game played on the machine's clock).
    std::function<std::optional<std::pair<int, DealtGame>>(std::uint32_t seed)> match;
    // What each wait point wrote to the replay's 80x50 terminal, at the
    // session's own time, from the replay's thread.
    std::function<void(const std::vector<replay::CastEvent>& events)> output;
    // The whole screen, as asked for by want_screen, and the session's own
    // time it shows.
    std::function<void(const std::string& whole, std::int64_t at_ms)> screen;
    // The points the play screen's panel shows, when they change.
    std::function<void(std::int64_t points)> points;
    // A dealt game ended (its verdict is final) or, at the stream's end,
    // was cut off; or a game of the stream that was not dealt (number 0).
    std::function<void(int game, const LiveVerdict& verdict)> judged;
    // The replay has played all it can of a batch, and passed on what its
    // frames drew; from the replay's thread (LiveEvents::on_played).
    std::function<void(const Mark& mark)> replayed;
};

class LiveReplay {
  public:
    LiveReplay(LiveHooks hooks, JudgeRules rules = {});
    ~LiveReplay(); // closes and waits for the thread
    LiveReplay(const LiveReplay&) = delete;
    LiveReplay& operator=(const LiveReplay&) = delete;

    LiveEvents& events() { return *events_; }
    // A watcher joined: the hook `screen` gets the whole screen soon, even
    // while the replay waits for the player.
    void want_screen();
    // Closes the events and waits until the replay has played what it had.
    void finish();
    // The CPU time the replay's thread took, once finished.
    std::int64_t cpu_ns() const;

  private:
    struct Running;
    std::unique_ptr<LiveEvents> events_;
    std::shared_ptr<std::atomic<bool>> screen_wanted_;
    std::unique_ptr<Running> running_;
};

} // namespace live
