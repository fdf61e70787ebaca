#pragma once
// A live session as a board holds it: what its routes, its replay's
// thread and its watchers share, each part under its own lock. Held by
// the server that feeds it, and as a copy by every other server on the
// same database that watchers watch it through.

#include "console/glyphs.hpp"
#include "replay/result_text.hpp"
#include "server/http/body_stream.hpp"
#include "server/live/live_board.hpp"
#include "server/live/live_replay.hpp"
#include "server/live/watch_events.hpp"

#include <algorithm>
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

inline constexpr int COLUMNS = 80;
inline constexpr int ROWS = 50;
// A watcher's time follows the game's own, re-anchored on the board's clock
// when the two drift apart by more than this.
inline constexpr std::int64_t MOST_DRIFT_MS = 1'000;

inline int level_of(int code) {
    return code >= '1' && code <= '9' ? code - '0' : 0;
}

inline board::Game game_of(const game::Resultado& result, std::int64_t frames) {
    return board::Game{console::text_utf8(result.nome),
                       level_of(result.nivel_inicial),
                       level_of(result.nivel),
                       result.pontos,
                       result.vidas,
                       std::string(replay::ending_text(result.desfecho)),
                       frames,
                       board::Kind::open,
                       {}};
}

struct LiveBoard::Session {
    struct Dealt {
        std::uint32_t seed = 0;
        std::string secret_sha256;
        std::int64_t dealt_ms = 0;
        std::string name;
        int level = 0;
        bool matched = false;
    };
    // A game as the replay finished it: a dealt one's number, or 0.
    struct Finished {
        int game = 0;
        LiveVerdict verdict;
    };
    struct Watcher {
        std::string client;
        std::shared_ptr<board::http::BodyStream> stream;
    };

    std::int64_t id = 0;
    std::string secret_sha256;
    std::string client;
    std::int64_t opened_ms = 0;

    // The batches' order and the session's end, on the workers' side.
    std::mutex mutex;
    std::int64_t next_seq = 1;
    std::int64_t last_frame = 0;
    std::int64_t last_batch_ms = 0;
    std::string recording;
    bool ended = false;
    std::int64_t ended_ms = 0;
    std::string end_reason;
    std::string run_body;  // once stored
    bool replaced = false; // by a copy from the store: this one is let go

    // What the replay's thread and the workers share.
    std::mutex games_mutex;
    std::vector<Dealt> games;
    std::vector<Finished> finished;

    std::mutex watch_mutex;
    std::vector<Watcher> joining;
    std::vector<Watcher> watching;
    std::int64_t last_heartbeat_ms = 0;
    std::optional<std::pair<std::int64_t, std::int64_t>> anchor; // board's ms, game's ms
    double last_time = 0;

    std::atomic<std::int64_t> points{0};
    std::function<std::int64_t()> now_ms;

    // Last: its thread ends first, while what its hooks reach still stands.
    std::unique_ptr<LiveReplay> replay;

    double stream_time(std::int64_t game_ms) {
        const std::int64_t now = now_ms();
        if (!anchor || std::abs(now - (anchor->first + game_ms - anchor->second)) > MOST_DRIFT_MS)
            anchor = {now, game_ms};
        const double seconds =
            static_cast<double>(anchor->first + game_ms - anchor->second - opened_ms) / 1000.0;
        last_time = std::max(last_time, seconds);
        return last_time;
    }

    // The session is its run: each watcher told, and let go.
    void finish_watchers() {
        const std::lock_guard watch(watch_mutex);
        for (auto* list : {&joining, &watching}) {
            send(*list, done_event());
            for (const Watcher& w : *list)
                w.stream->end();
            list->clear();
        }
    }

    // Each watcher's piece; those that left or fell behind are let go.
    void send(std::vector<Watcher>& to, const std::string& piece) {
        std::erase_if(to, [&](const Watcher& w) { return !w.stream->push(piece); });
    }

    LiveHooks hooks() {
        return LiveHooks{[this](std::uint32_t seed) -> std::optional<std::pair<int, DealtGame>> {
                             const std::lock_guard lock(games_mutex);
                             for (std::size_t i = 0; i < games.size(); ++i)
                                 if (!games[i].matched && games[i].seed == seed) {
                                     games[i].matched = true;
                                     return std::pair{static_cast<int>(i + 1),
                                                      DealtGame{seed, games[i].dealt_ms}};
                                 }
                             return std::nullopt;
                         },
                         [this](const std::vector<replay::CastEvent>& events) {
                             const std::lock_guard lock(watch_mutex);
                             for (const replay::CastEvent& e : events)
                                 if (e.code == 'o')
                                     send(watching, output_event(stream_time(e.at_ms), e.data));
                         },
                         [this](const std::string& whole, std::int64_t at_ms) {
                             const std::lock_guard lock(watch_mutex);
                             send(joining, screen_event(COLUMNS, ROWS, stream_time(at_ms), whole));
                             for (Watcher& w : joining)
                                 watching.push_back(std::move(w));
                             joining.clear();
                         },
                         [this](std::int64_t shown) { points = shown; },
                         [this](int game, const LiveVerdict& verdict) {
                             const std::lock_guard lock(games_mutex);
                             finished.push_back(Finished{game, verdict});
                         }};
    }

    // The run's games: those the replay finished, in order, then the dealt
    // games it never reached, which count as played all the same.
    std::vector<EndedGame> ended_games() {
        const std::lock_guard lock(games_mutex);
        std::vector<EndedGame> out;
        for (const Finished& f : finished) {
            EndedGame g{game_of(f.verdict.result, f.verdict.frames),
                        f.verdict.open_reason.value_or(""), f.verdict.holds, f.verdict.held_ms};
            if (f.game > 0 && f.verdict.ended && !f.verdict.open_reason)
                g.game.kind = board::Kind::ranked;
            if (f.verdict.open_reason && !end_reason.empty() && !f.verdict.ended)
                g.open_reason = end_reason;
            if (g.game.start_level >= 1 && g.game.start_level <= 4)
                out.push_back(std::move(g));
        }
        for (const Dealt& d : games)
            if (!d.matched) {
                board::Game g{d.name,
                              level_of(d.level),
                              level_of(d.level),
                              0,
                              0,
                              "saiu",
                              0,
                              board::Kind::open,
                              {}};
                out.push_back(
                    EndedGame{g, "dealt, but the stream stopped before it was played", 0, 0});
            }
        return out;
    }
};

} // namespace live
