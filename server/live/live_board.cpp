#include "server/live/live_board.hpp"

#include "console/glyphs.hpp"
#include "replay/result_text.hpp"
#include "server/answers.hpp"
#include "server/http/body_stream.hpp"
#include "server/live/batch_body.hpp"
#include "server/live/delay_line.hpp"
#include "server/live/live_replay.hpp"
#include "server/live/stream_lines.hpp"
#include "server/live/watch_events.hpp"
#include "server/random_token.hpp"
#include "server/submission.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>

namespace live {
namespace {

using board::http::BodyStream;
using board::http::Request;
using board::http::Response;

constexpr int COLUMNS = 80;
constexpr int ROWS = 50;
constexpr std::int64_t HEARTBEAT_MS = 15'000;
// How long an ended session still answers its watchers and its last batch.
constexpr std::int64_t KEPT_AFTER_END_MS = 60'000;
// A watcher's time follows the game's own, re-anchored on the board's clock
// when the two drift apart by more than this.
constexpr std::int64_t MOST_DRIFT_MS = 1'000;

Response json_answer(int status, const board::Json& body) {
    Response answer;
    answer.status = status;
    answer.body = board::json_text(body);
    answer.cache_control = "no-store";
    return answer;
}

Response error(int status, const std::string& why) {
    return json_answer(status, board::Json{{"error", why}});
}

// The sessions keep a clock that never steps back; people read the wall's.
std::int64_t wall_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int level_of(int code) {
    return code >= '1' && code <= '9' ? code - '0' : 0;
}

board::Game game_of(const game::Resultado& result, std::int64_t frames) {
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

} // namespace

struct LiveBoard::Session {
    struct Dealt {
        std::uint32_t seed = 0;
        std::string secret;
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
        std::shared_ptr<BodyStream> stream;
    };

    std::int64_t id = 0;
    std::string secret;
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
    std::string run_body; // once stored

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

    // Each watcher's piece; those that left or fell behind are let go.
    void send(std::vector<Watcher>& to, const std::string& piece) {
        std::erase_if(to, [&](const Watcher& w) { return !w.stream->push(piece); });
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

    // With watch_mutex held: the stream's end, to everyone.
    void close_watchers() {
        for (auto* list : {&joining, &watching}) {
            send(*list, done_event());
            for (const Watcher& w : *list)
                w.stream->end();
            list->clear();
        }
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

LiveBoard::LiveBoard(LiveKeeper& keeper, LiveLimits limits, std::function<std::int64_t()> now_ms)
    : keeper_(keeper), limits_(limits), now_ms_(std::move(now_ms)) {}

LiveBoard::~LiveBoard() = default;

std::shared_ptr<LiveBoard::Session> LiveBoard::find(std::int64_t id) {
    const std::lock_guard lock(mutex_);
    const auto found = sessions_.find(id);
    return found == sessions_.end() ? nullptr : found->second;
}

Response LiveBoard::open(const Request& request) {
    {
        const std::lock_guard lock(mutex_);
        const auto open_here =
            std::count_if(sessions_.begin(), sessions_.end(), [&](const auto& s) {
                return s.second->client == request.client && !s.second->ended;
            });
        if (open_here >= limits_.sessions_per_address)
            return error(429, "this address has " + std::to_string(open_here) +
                                  " live sessions open already");
    }
    const std::int64_t now = now_ms_();
    auto session = std::make_shared<Session>();
    try {
        session->id = keeper_.opened(now);
    } catch (const board::StoreError&) {
        return error(503, "the board cannot keep a session now");
    }
    session->secret = board::random_token();
    session->client = request.client;
    session->opened_ms = now;
    session->last_batch_ms = now;
    session->now_ms = now_ms_;
    if (limits_.delay_ms > 0)
        session->delay.emplace(limits_.delay_ms, limits_.delay_bytes);
    session->replay = std::make_unique<LiveReplay>(session->hooks(), limits_.rules);
    {
        const std::lock_guard lock(mutex_);
        sessions_[session->id] = session;
    }
    return json_answer(
        201, board::Json{{"run", std::to_string(session->id)}, {"secret", session->secret}});
}

Response LiveBoard::deal(std::int64_t id, const Request& request) {
    const auto asked = read_deal(request.body);
    if (const auto* refused = std::get_if<Refused>(&asked))
        return error(400, refused->why);
    const DealBody& body = std::get<DealBody>(asked);
    const auto session = find(id);
    if (!session)
        return error(404, "no such live session");
    const std::lock_guard lock(session->mutex);
    if (body.secret != session->secret)
        return error(403, "not this session's secret");
    if (session->ended)
        return error(409, "the session is over: " + session->end_reason);
    if (!board::showable_name(body.name) || body.name.empty())
        return error(400, "the name cannot be shown on the board");
    if (level_of(body.level) < 1 || level_of(body.level) > 4)
        return error(400, "the board ranks levels 1 to 4 only");

    std::random_device source;
    const auto seed = static_cast<std::uint32_t>(source());
    const std::int64_t now = now_ms_();
    int number = 0;
    {
        const std::lock_guard games(session->games_mutex);
        number = static_cast<int>(session->games.size()) + 1;
    }
    try {
        keeper_.dealt(id, number, seed, now);
    } catch (const board::StoreError&) {
        return error(503, "the board cannot deal now");
    }
    const std::string secret = board::random_token();
    {
        const std::lock_guard games(session->games_mutex);
        session->games.push_back(Session::Dealt{seed, secret, now, body.name, body.level, false});
    }
    session->last_batch_ms = now;
    return json_answer(201, board::Json{{"game", number}, {"seed", seed}, {"secret", secret}});
}

Response LiveBoard::batch(std::int64_t id, const Request& request) {
    const auto read = read_batch(request.body);
    if (const auto* refused = std::get_if<Refused>(&read))
        return error(400, refused->why);
    const BatchBody& body = std::get<BatchBody>(read);
    const auto session = find(id);
    if (!session)
        return error(404, "no such live session");
    const std::lock_guard lock(session->mutex);
    {
        const std::lock_guard games(session->games_mutex);
        if (session->games.empty() || body.secret != session->games.back().secret)
            return error(403, "not the secret of the game dealt last");
    }
    if (body.seq < session->next_seq) {
        // Sent again: its answer was lost. The last one carries the run.
        board::Json acked{{"acked", body.seq}};
        if (body.last && session->ended && !session->run_body.empty())
            acked["run"] = board::Json::parse(session->run_body);
        return json_answer(200, acked);
    }
    if (session->ended)
        return error(409, "the session is over: " + session->end_reason);
    if (body.seq > session->next_seq)
        return json_answer(409, board::Json{{"error", "batch " + std::to_string(session->next_seq) +
                                                          " was expected"},
                                            {"expect", session->next_seq}});
    if (body.frame < session->last_frame)
        return error(400, "the frame count went backwards");
    std::int64_t at = session->last_frame;
    for (const BatchHold& h : body.holds) {
        if (h.frame < at || h.frame > body.frame)
            return error(400, "a hold is not between the frames of its batch");
        at = h.frame;
    }
    auto events = StreamLines::read(body.lines, body.seq == 1);
    if (const auto* why = std::get_if<std::string>(&events))
        return error(400, *why);

    const std::int64_t now = now_ms_();
    try {
        keeper_.batch(id, body.seq, now, body.lines);
    } catch (const board::StoreError&) {
        return error(503, "the board cannot keep the batch now");
    }
    ++session->next_seq;
    session->last_frame = body.frame;
    session->last_batch_ms = now;
    session->recording += body.lines;
    session->replay->events().append(std::get<std::vector<replay::Event>>(events),
                                     Mark{body.seq, body.frame, now, body.holds});
    board::Json acked{{"acked", body.seq}};
    if (body.last) {
        end(session);
        if (session->run_body.empty())
            return error(503, "the board cannot store the run now; send the last batch again");
        acked["run"] = board::Json::parse(session->run_body);
    }
    return json_answer(200, acked);
}

// With the session's lock held.
void LiveBoard::end(const std::shared_ptr<Session>& session) {
    if (!session->ended) {
        session->ended = true;
        session->ended_ms = now_ms_();
        session->replay->finish();
        const std::lock_guard totals(totals_mutex_);
        ++totals_.sessions;
        totals_.batches += session->next_seq - 1;
        totals_.replay_cpu_ns += session->replay->cpu_ns();
    }
    if (!session->run_body.empty())
        return;
    try {
        session->run_body = keeper_.ended(session->id, session->recording, session->ended_games());
    } catch (const board::StoreError&) {
        return; // the last batch sent again, or the sweep, tries again
    }
    const std::lock_guard watch(session->watch_mutex);
    // A delay still holding the game's end closes its watchers once it
    // has let it through (the sweep).
    if (!session->delay || session->delay->drained())
        session->close_watchers();
}

Response LiveBoard::list() {
    std::vector<std::shared_ptr<Session>> all;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [id, s] : sessions_)
            all.push_back(s);
    }
    board::Json games = board::Json::array();
    const std::int64_t now = now_ms_();
    for (const auto& s : all) {
        if (s->ended)
            continue;
        std::string name;
        int level = 0;
        std::int64_t dealt_ms = 0;
        {
            const std::lock_guard lock(s->games_mutex);
            if (s->games.empty())
                continue; // at the menu: nothing to watch
            name = s->games.back().name;
            level = level_of(s->games.back().level);
            dealt_ms = s->games.back().dealt_ms;
        }
        std::size_t watchers = 0;
        {
            const std::lock_guard lock(s->watch_mutex);
            watchers = s->watching.size() + s->joining.size();
        }
        games.push_back(board::Json{{"id", s->id},
                                    {"player", name},
                                    {"level", level},
                                    {"points", s->points.load()},
                                    {"start", board::iso_utc(wall_ms() - (now - dealt_ms))},
                                    {"watchers", watchers},
                                    {"page", "/live/" + std::to_string(s->id)}});
    }
    Response answer = json_answer(200, board::Json{{"games", games}});
    // Its own answer, short-lived, so the board's pages keep their ETag.
    answer.cache_control = "max-age=1";
    return answer;
}

Response LiveBoard::watch(std::int64_t id, const Request& request) {
    const auto session = find(id);
    if (!session)
        return error(404, "no such live session");
    if (session->ended)
        return json_answer(404, board::Json{{"error", "the session is over"},
                                            {"run", session->run_body.empty()
                                                        ? board::Json()
                                                        : board::Json::parse(session->run_body)}});
    std::size_t here = 0;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [other_id, s] : sessions_) {
            const std::lock_guard watch(s->watch_mutex);
            for (const auto* list : {&s->joining, &s->watching})
                here += static_cast<std::size_t>(
                    std::count_if(list->begin(), list->end(), [&](const Session::Watcher& w) {
                        return w.client == request.client && w.stream->open();
                    }));
        }
    }
    if (here >= static_cast<std::size_t>(limits_.watchers_per_address))
        return error(429, "this address watches " + std::to_string(here) + " streams already");

    auto stream = std::make_shared<BodyStream>(limits_.watcher_behind_bytes);
    {
        const std::lock_guard watch(session->watch_mutex);
        session->joining.push_back(Session::Watcher{request.client, stream});
        if (session->delay)
            session->release(now_ms_());
    }
    if (!session->delay)
        session->replay->want_screen();
    Response answer;
    answer.content_type = "text/event-stream";
    answer.cache_control = "no-store";
    answer.headers.emplace_back("X-Accel-Buffering", "no");
    answer.stream = std::move(stream);
    return answer;
}

LiveTotals LiveBoard::totals() const {
    const std::lock_guard lock(totals_mutex_);
    return totals_;
}

bool LiveBoard::playing(std::int64_t id) {
    const auto session = find(id);
    return session && !session->ended;
}

void LiveBoard::sweep() {
    std::vector<std::shared_ptr<Session>> all;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [id, s] : sessions_)
            all.push_back(s);
    }
    const std::int64_t now = now_ms_();
    for (const auto& s : all) {
        bool stored = false;
        {
            const std::lock_guard lock(s->mutex);
            if (!s->ended && now - s->last_batch_ms > limits_.grace_ms) {
                s->end_reason = "abandoned: no batch came for " +
                                std::to_string(limits_.grace_ms / 1000) + " s";
                end(s);
            } else if (s->ended && s->run_body.empty()) {
                end(s);
            }
            stored = s->ended && !s->run_body.empty();
        }
        bool screen_wanted = false;
        bool drained = true;
        {
            const std::lock_guard watch(s->watch_mutex);
            if (s->delay) {
                s->release(now);
                screen_wanted = !stored && s->delay->ask_screen(now);
                drained = s->delay->drained();
                if (stored && drained)
                    s->close_watchers();
            }
            if (now - s->last_heartbeat_ms >= HEARTBEAT_MS) {
                s->last_heartbeat_ms = now;
                s->send(s->watching, heartbeat_event());
                if (s->delay) // they may wait a whole delay for their first screen
                    s->send(s->joining, heartbeat_event());
            }
        }
        if (screen_wanted)
            s->replay->want_screen();
        if (s->ended && !s->run_body.empty() && now - s->ended_ms > KEPT_AFTER_END_MS && drained) {
            const std::lock_guard lock(mutex_);
            sessions_.erase(s->id);
        }
    }
}

} // namespace live
