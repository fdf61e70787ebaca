#pragma once
// A live session as a board holds it: what its routes, its replay's
// thread and its watchers share, each part under its own lock. Held by
// the server that feeds it, and as a copy by every other server on the
// same database that watchers watch it through.

#include "console/glyphs.hpp"
#include "replay/result_text.hpp"
#include "server/http/body_stream.hpp"
#include "server/http/log_text.hpp"
#include "server/live/delay_line.hpp"
#include "server/live/live_board.hpp"
#include "server/live/live_replay.hpp"
#include "server/live/watch_events.hpp"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
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

// One line a judged game: how far its worst window was from the slow
// factor is what tells whether the factor fits honest play.
inline std::string judged_line(std::int64_t session, int game, const LiveVerdict& verdict) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.3f", verdict.worst_ratio);
    const std::string kind = verdict.open_reason
                                 ? "open (" + board::http::log_text(*verdict.open_reason) + ")"
                             : game > 0 ? std::string("ranked")
                                        : std::string("open");
    return "orbitrix-server: live " + std::to_string(session) + " game " + std::to_string(game) +
           " judged " + kind + ": worst 10 s window " + ratio + " times the least time, " +
           std::to_string(verdict.frames) + " frames, " + std::to_string(verdict.holds) +
           " holds\n";
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
    // With a delay, what the watchers are sent goes through it.
    std::optional<DelayLine> delay;

    std::atomic<std::int64_t> points{0};
    // From each batch's arrival to its frames played for the watchers, of
    // the batches that play frames (one that plays none, at the title or a
    // prompt, waits on the player, not on the replay): the replay's
    // thread's alone, until it has ended.
    std::vector<std::int32_t> replay_lags_ms;
    std::int64_t replayed_frame = 0;
    std::function<std::int64_t()> now_ms;
    std::function<void(const std::string&)> log;

    // Last: its thread ends first, while what its hooks reach still stands.
    std::unique_ptr<LiveReplay> replay;

    // Whether it has ended, asked by one that holds neither `mutex` nor the
    // board's (which is taken after `mutex`, never before it).
    bool over() {
        const std::lock_guard lock(mutex);
        return ended;
    }

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
    // The stream's end, to everyone; a delay still holding the game's end
    // closes its watchers once it has let it through (the sweep).
    void finish_watchers() {
        const std::lock_guard watch(watch_mutex);
        if (!delay || delay->drained())
            close_watchers();
    }

    // With watch_mutex held.
    void close_watchers() {
        for (auto* list : {&joining, &watching}) {
            send(*list, done_event());
            for (const Watcher& w : *list)
                w.stream->end();
            list->clear();
        }
    }

    // With watch_mutex held: what the delay has let through, to those
    // watching, and to those joining the screen as it stood a delay ago.
    void release(std::int64_t now) {
        DelayLine::Released out = delay->release(now);
        if (!out.events.empty())
            send(watching, out.events);
        if (out.points)
            points = *out.points;
        if (joining.empty())
            return;
        if (const std::optional<std::string> whole = delay->joined()) {
            send(joining, *whole);
            for (Watcher& w : joining)
                watching.push_back(std::move(w));
            joining.clear();
        }
    }

    // The replay's output, whole screens and points, into the delay line
    // (the first two with watch_mutex held).
    void delayed_output(const std::vector<replay::CastEvent>& events) {
        const std::int64_t now = now_ms();
        for (const replay::CastEvent& e : events)
            if (e.code == 'o')
                delay->output(now, output_event(stream_time(e.at_ms), e.data));
        release(now);
    }
    void delayed_screen(const std::string& whole, std::int64_t at_ms) {
        const std::int64_t now = now_ms();
        delay->screen(now, screen_event(COLUMNS, ROWS, stream_time(at_ms), whole));
        release(now);
    }
    void delayed_points(std::int64_t shown) {
        const std::lock_guard lock(watch_mutex);
        delay->points(now_ms(), shown);
    }

    // Each watcher's piece; those that left or fell behind are let go.
    void send(std::vector<Watcher>& to, const std::string& piece) {
        std::erase_if(to, [&](const Watcher& w) { return !w.stream->push(piece); });
    }

    LiveHooks hooks() {
        return LiveHooks{
            [this](std::uint32_t seed) -> std::optional<std::pair<int, DealtGame>> {
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
                if (delay)
                    return delayed_output(events);
                for (const replay::CastEvent& e : events)
                    if (e.code == 'o')
                        send(watching, output_event(stream_time(e.at_ms), e.data));
            },
            [this](const std::string& whole, std::int64_t at_ms) {
                const std::lock_guard lock(watch_mutex);
                if (delay)
                    return delayed_screen(whole, at_ms);
                send(joining, screen_event(COLUMNS, ROWS, stream_time(at_ms), whole));
                for (Watcher& w : joining)
                    watching.push_back(std::move(w));
                joining.clear();
            },
            [this](std::int64_t shown) {
                if (delay)
                    return delayed_points(shown);
                points = shown;
            },
            [this](int game, const LiveVerdict& verdict) {
                if (log)
                    log(judged_line(id, game, verdict));
                const std::lock_guard lock(games_mutex);
                finished.push_back(Finished{game, verdict});
            },
            [this](const Mark& mark) {
                if (!mark.restored && mark.frame > replayed_frame)
                    replay_lags_ms.push_back(static_cast<std::int32_t>(
                        std::clamp<std::int64_t>(now_ms() - mark.arrived_ms, 0, INT32_MAX)));
                replayed_frame = std::max(replayed_frame, mark.frame);
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
