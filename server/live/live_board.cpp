#include "server/live/live_board.hpp"

#include "server/answers.hpp"
#include "server/live/batch_body.hpp"
#include "server/live/board_session.hpp"
#include "server/live/delay_line.hpp"
#include "server/live/kept_batch.hpp"
#include "server/live/stream_lines.hpp"
#include "server/random_token.hpp"
#include "server/sha256.hpp"
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

constexpr std::int64_t HEARTBEAT_MS = 15'000;
// How long an ended session still answers its watchers and its last batch.
constexpr std::int64_t KEPT_AFTER_END_MS = 60'000;

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

} // namespace

LiveBoard::LiveBoard(LiveKeeper& keeper, LiveLimits limits, std::function<std::int64_t()> now_ms,
                     std::function<void(const std::string&)> log)
    : keeper_(keeper), limits_(limits), now_ms_(std::move(now_ms)), log_(std::move(log)) {}

LiveBoard::~LiveBoard() = default;

std::shared_ptr<LiveBoard::Session> LiveBoard::find(std::int64_t id) {
    {
        const std::lock_guard lock(mutex_);
        const auto found = sessions_.find(id);
        if (found != sessions_.end())
            return found->second;
    }
    auto loaded = load(id);
    if (!loaded)
        return nullptr;
    const std::lock_guard lock(mutex_);
    return sessions_.emplace(id, std::move(loaded)).first->second;
}

Response LiveBoard::open(const Request& request) {
    std::vector<std::shared_ptr<Session>> here;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [id, s] : sessions_)
            if (s->client == request.client)
                here.push_back(s);
    }
    const auto open_here =
        std::count_if(here.begin(), here.end(), [](const auto& s) { return !s->over(); });
    if (open_here >= limits_.sessions_per_address)
        return error(429, "this address has " + std::to_string(open_here) +
                              " live sessions open already");
    const std::int64_t now = now_ms_();
    auto session = std::make_shared<Session>();
    const std::string secret = board::random_token();
    session->secret_sha256 = board::sha256_hex(secret);
    try {
        session->id =
            keeper_.opened(board::LiveOpened{now, session->secret_sha256, request.client});
    } catch (const board::StoreError&) {
        return error(503, "the board cannot keep a session now");
    }
    session->client = request.client;
    session->opened_ms = now;
    session->last_batch_ms = now;
    session->now_ms = now_ms_;
    session->log = log_;
    if (limits_.delay_ms > 0)
        session->delay.emplace(limits_.delay_ms, limits_.delay_bytes);
    session->replay = std::make_unique<LiveReplay>(session->hooks(), limits_.rules);
    {
        const std::lock_guard lock(mutex_);
        sessions_[session->id] = session;
    }
    return json_answer(201, board::Json{{"run", std::to_string(session->id)}, {"secret", secret}});
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
    if (session->replaced)
        return error(503, "the board is catching up with the session; ask again");
    if (board::sha256_hex(body.secret) != session->secret_sha256)
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
    const std::string secret = board::random_token();
    board::LiveDeal dealt{0, seed, now, board::sha256_hex(secret), body.name, body.level};
    // Another server may have dealt the session a game this copy has not
    // seen: the store refuses the number, and the copy catches up once.
    for (int tries = 0;; ++tries) {
        {
            const std::lock_guard games(session->games_mutex);
            dealt.number = static_cast<int>(session->games.size()) + 1;
        }
        try {
            if (keeper_.dealt(id, dealt))
                break;
        } catch (const board::StoreError&) {
            return error(503, "the board cannot deal now");
        }
        if (tries > 0 || !catch_up(*session))
            return error(503, "the board cannot deal now");
        if (session->ended)
            return error(409, "the session is over: " + session->end_reason);
    }
    const int number = dealt.number;
    {
        const std::lock_guard games(session->games_mutex);
        session->games.push_back(
            Session::Dealt{seed, dealt.secret_sha256, now, body.name, body.level, false});
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
    if (session->replaced)
        return error(503, "the board is catching up with the session; send it again");
    const std::string secret_sha256 = board::sha256_hex(body.secret);
    const auto dealt_last = [&] {
        const std::lock_guard games(session->games_mutex);
        return !session->games.empty() && secret_sha256 == session->games.back().secret_sha256;
    };
    // A copy here behind the store, as another server fed the session,
    // catches up before it answers: a later game's secret, a later batch.
    if ((!dealt_last() || body.seq > session->next_seq) && !session->ended)
        catch_up(*session);
    if (!dealt_last())
        return error(403, "not the secret of the game dealt last");
    // The last batch's answer carries the run, once stored.
    const auto with_run = [&]() -> Response {
        end(session);
        if (session->run_body.empty())
            return error(503, "the board cannot store the run now; send the last batch again");
        return json_answer(
            200, board::Json{{"acked", body.seq}, {"run", board::Json::parse(session->run_body)}});
    };
    const auto known = [&]() -> std::optional<Response> {
        if (body.seq < session->next_seq) {
            // Sent again: its answer was lost. The last one carries the
            // run, stored now if the server that kept the batch stopped
            // before it could.
            if (body.last && body.seq == session->next_seq - 1)
                return with_run();
            return json_answer(200, board::Json{{"acked", body.seq}});
        }
        if (session->ended)
            return error(409, "the session is over: " + session->end_reason);
        if (body.seq > session->next_seq)
            return json_answer(409,
                               board::Json{{"error", "batch " + std::to_string(session->next_seq) +
                                                         " was expected"},
                                           {"expect", session->next_seq}});
        return std::nullopt;
    };
    if (auto answer = known())
        return *answer;
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
        const board::LiveKept kept = keeper_.batch(
            id, board::LiveBatch{body.seq, now, body.lines, body.frame, holds_text(body.holds)});
        // Not kept: another server kept it, or ended the session, since
        // this copy last caught up. The store says which.
        if (!kept.kept) {
            if (!catch_up(*session))
                return error(503, "the board cannot keep the batch now");
            if (auto answer = known())
                return *answer;
            return error(503, "the board cannot keep the batch now");
        }
    } catch (const board::StoreError&) {
        return error(503, "the board cannot keep the batch now");
    }
    ++session->next_seq;
    session->last_frame = body.frame;
    session->last_batch_ms = now;
    session->recording += body.lines;
    session->replay->events().append(std::get<std::vector<replay::Event>>(events),
                                     Mark{body.seq, body.frame, now, body.holds});
    if (body.last)
        return with_run();
    return json_answer(200, board::Json{{"acked", body.seq}});
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
        totals_.replay_lags.add(session->replay_lags_ms);
        session->replay_lags_ms = {};
    }
    if (!session->run_body.empty())
        return;
    std::optional<std::string> run;
    try {
        std::size_t dealt = 0;
        {
            const std::lock_guard games(session->games_mutex);
            dealt = session->games.size();
        }
        run = keeper_.ended(session->id, session->recording, session->ended_games(),
                            session->next_seq - 1, static_cast<int>(dealt));
    } catch (const board::StoreError&) {
        return; // the last batch sent again, or the sweep, tries again
    }
    if (!run)
        return reload(session); // the store was ahead: this copy's end counts for nothing
    session->run_body = *run;
    if (!session->run_body.empty())
        session->finish_watchers();
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
        if (s->over())
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
    std::optional<std::string> run_body; // once the session is over
    {
        const std::lock_guard lock(session->mutex);
        if (session->ended)
            run_body = session->run_body;
    }
    if (run_body)
        return json_answer(404,
                           board::Json{{"error", "the session is over"},
                                       {"run", run_body->empty() ? board::Json()
                                                                 : board::Json::parse(*run_body)}});
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
    return session && !session->over();
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
        std::int64_t ended_ms = 0;
        {
            const std::lock_guard lock(s->mutex);
            if (s->replaced)
                continue;
            // Another server may be feeding it: what the store holds says.
            if (!s->ended && now - s->last_batch_ms > limits_.grace_ms)
                catch_up(*s);
            if (!s->ended && now - s->last_batch_ms > limits_.grace_ms) {
                s->end_reason = "abandoned: no batch came for " +
                                std::to_string(limits_.grace_ms / 1000) + " s";
                end(s);
            } else if (s->ended && s->run_body.empty()) {
                end(s);
            }
            stored = s->ended && !s->run_body.empty();
            ended_ms = s->ended_ms;
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
        if (stored && now - ended_ms > KEPT_AFTER_END_MS && drained) {
            const std::lock_guard lock(mutex_);
            sessions_.erase(s->id);
        }
    }
}

} // namespace live
