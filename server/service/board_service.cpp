#include "server/service/board_service.hpp"

#include "server/answers.hpp"
#include "server/http/allowed_methods.hpp"
#include "server/http/answer_coding.hpp"
#include "server/http/client_address.hpp"
#include "server/http/inflate.hpp"
#include "server/http/log_text.hpp"
#include "server/http/query.hpp"
#include "server/http/server.hpp"
#include "server/live/live_board.hpp"
#include "server/pages/cast_cache.hpp"
#include "server/pages/live_page.hpp"
#include "server/pages/play_page.hpp"
#include "server/pages/static_paths.hpp"
#include "server/ranked_rules.hpp"
#include "server/rate_limit.hpp"
#include "server/service/live_clock.hpp"
#include "server/service/live_keeper.hpp"
#ifdef ORBITRIX_HAVE_POSTGRES
#include "server/service/live_listener.hpp"
#endif
#include "server/service/page_routes.hpp"
#include "server/sha256.hpp"
#include "server/store_pool.hpp"
#include "server/work_pool.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <future>
#include <mutex>
#include <random>
#include <thread>

namespace board {
namespace {

// A replay takes at most its CPU budget; by then a worker is free.
constexpr int BUSY_RETRY_SECONDS = 2;
// Threads for the routes besides those that may wait on replays, for the
// reads of the store and the pages.
constexpr int READER_THREADS = 8;
// A live game's batch: a quarter of a second of keys, JSON-escaped.
constexpr std::size_t MOST_BATCH_BYTES = 256 * 1024;
// How often the live sessions are looked over for those given up.
constexpr auto LIVE_SWEEP_EVERY = std::chrono::seconds(1);
// Requests queued behind busy route threads before a 503.
constexpr std::size_t ROUTES_WAITING = 64;
// The gzip forms of the pages' files and the casts, kept.
constexpr std::size_t GZIPPED_FILES_BYTES = std::size_t{64} << 20;
// The board's answers made for its last versions: a hundred pages of
// five tables, or five hundred of the API's.
constexpr std::size_t MADE_ANSWERS_BYTES = std::size_t{16} << 20;
constexpr const char* JSON = "application/json";
// Why a game sent with tickets, as the sessions before live play were,
// is open all the same.
constexpr const char* NOT_PLAYED_LIVE =
    "not played live: only games the board sees played, with --ranked, are ranked";
// How often a dealt ticket also clears the tickets no run can claim.
constexpr std::int64_t TICKET_PURGE_EVERY_MS = 3600 * 1000;

// Twice the cores, unless told: each connection's queries and the answers
// made from them share those cores, and more at once only queue on them.
int database_connections(int asked) {
    if (asked > 0)
        return asked;
    return std::max(2, 2 * static_cast<int>(std::thread::hardware_concurrency()));
}

std::int64_t now_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::int64_t thread_cpu_ns() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

http::Response json_answer(int status, std::string body) {
    http::Response response;
    response.status = status;
    response.body = std::move(body);
    return response;
}

// A known path asked with a method it does not take: 405 and what it takes.
http::Response no_such_route(const http::Request& request) {
    if (const auto allow = http::allowed_methods(request.path())) {
        http::Response response = refusal_answer(405, http::log_text(request.method) +
                                                          " is not taken here; " + *allow + " is");
        response.headers.emplace_back("Allow", *allow);
        return response;
    }
    // A person who follows a wrong link reads a page; a program reads JSON.
    const auto path = request.path();
    if (path.starts_with("/api/") || path.starts_with(pages::STATIC_PREFIX))
        return refusal_answer(404, "no such page");
    return page_refusal(pages::Missing::page);
}

// What every answer carries, pages or not: nothing loads from another host.
http::Response finished(http::Response response) {
    response.headers.emplace_back("Content-Security-Policy",
                                  std::string(pages::CONTENT_SECURITY_POLICY));
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    return response;
}

} // namespace

struct BoardService::Parts {
    explicit Parts(const ServiceConfig& c)
        : config(c), stores(c.database, database_connections(c.connections)),
          replays(c.workers, c.waiting), rate(c.submissions_per_minute),
          ticket_rate(c.submissions_per_minute), casts(c.cast_cache_bytes),
          gzipped(GZIPPED_FILES_BYTES), made(MADE_ANSWERS_BYTES), keeper(stores, now_ms),
          live(
              keeper, c.live, [this] { return live_clock.now_ms(); },
              [this](const std::string& line) { log_line(line); }),
          sweeper([this](const std::stop_token& stop) {
              std::mutex m;
              std::condition_variable_any wake;
              std::unique_lock lock(m);
              while (!stop.stop_requested()) {
                  wake.wait_for(lock, stop, LIVE_SWEEP_EVERY, [] { return false; });
                  if (!stop.stop_requested())
                      live.sweep();
              }
          }) {}

    // First: the live sessions' replays log until the board that runs them goes.
    std::mutex log_mutex;
    std::function<void(const std::string&)> sink = [](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), stderr);
    };
    ServiceConfig config;
    StorePool stores;
    WorkPool replays;
    RateLimit rate;
    RateLimit ticket_rate;
    pages::CastCache casts;
    BytesCache<std::string> gzipped; // by the answer's tag
    MadeAnswers made;
    std::atomic<std::int64_t> tickets_purged_ms{0};
    StoreKeeper keeper;
    LiveClock live_clock;
    live::LiveBoard live;
    // After the board it sweeps: it stops first.
    std::jthread sweeper;
#ifdef ORBITRIX_HAVE_POSTGRES
    // On PostgreSQL, what the other servers on the database change of the
    // live sessions, caught up with here; after the board, it stops first.
    std::unique_ptr<LiveListener> listener;
#endif

    // Last: it stops serving before what it serves goes.
    std::unique_ptr<http::Server> server;

    http::Response handle(const http::Request& request);
    http::Response route(const http::Request& request);
    http::Response submit(const http::Request& request);
    http::Response deal_ticket(const http::Request& request);
    http::Response board_api(const http::Request& request);
    http::Response run_api(const http::Request& request, std::int64_t id);
    http::Response recording(std::int64_t id);
    http::Response health();
    http::Response live_page_answer(std::int64_t id);
    static http::Response play_page_answer();
    void log(const http::Exchange& exchange);
    void log_line(const std::string& line);
    void log_live_totals();
};

http::Response BoardService::Parts::submit(const http::Request& req) {
    const std::int64_t received = now_ms();
    if (const std::int64_t wait = rate.take(req.client, received); wait > 0) {
        http::Response busy = refusal_answer(429, "more submissions a minute than this server "
                                                  "takes from one address");
        busy.headers.emplace_back("Retry-After", std::to_string(wait));
        return busy;
    }
    // The cap on what comes out is the route's limit on what goes in.
    auto inflated = http::inflated_body(req.header("Content-Encoding").value_or(""), req.body,
                                        config.limits.max_body);
    if (const auto* refusal = std::get_if<http::Refusal>(&inflated))
        return refusal_answer(refusal->status, refusal->reason);
    const std::string& body = std::get<std::string>(inflated);
    auto screened = screen(body, config.limits);
    if (const auto* refused = std::get_if<Refused>(&screened))
        return refusal_answer(refused->status, refused->reason);

    const auto params = http::read_query(http::query_of(req.target));
    if (const auto* reason = std::get_if<std::string>(&params))
        return refusal_answer(400, *reason);
    const auto& given = std::get<http::Parameters>(params);
    const auto named = given.find("tickets");
    const auto tickets = ticket_list(named == given.end() ? std::string() : named->second);
    if (!tickets)
        return refusal_answer(400,
                              "tickets is a comma-separated list of ticket ids, in game order");

    auto& recording = std::get<replay::Recording>(screened);
    NewRun run;
    run.made_by = recording.made_by;
    using Judged = std::variant<std::vector<JudgedGame>, Refused>;
    auto task = std::make_shared<std::packaged_task<Judged()>>(
        [recording = std::move(recording), limits = config.limits] {
            return judge_games(recording, limits, thread_cpu_ns);
        });
    std::future<Judged> judged = task->get_future();
    if (!replays.try_submit([task] { (*task)(); })) {
        http::Response busy =
            refusal_answer(503, "more replays are waiting than this server's workers take");
        busy.headers.emplace_back("Retry-After", std::to_string(BUSY_RETRY_SECONDS));
        return busy;
    }
    Judged outcome = judged.get();
    if (const auto* refused = std::get_if<Refused>(&outcome))
        return refusal_answer(refused->status, refused->reason);

    run.sha256 = sha256_hex(body);
    run.bytes = body;
    run.received_ms = received;
    const auto& judged_games = std::get<std::vector<JudgedGame>>(outcome);

    // Only a game the board saw played live is ranked: one sent afterwards,
    // on a ticket's seed or not, is open, and told why when it asked more.
    const bool asks_ranked = named != given.end();
    for (const JudgedGame& judged_game : judged_games) {
        run.games.push_back(judged_game.game);
        if (asks_ranked)
            run.games.back().reason = NOT_PLAYED_LIVE;
    }
    auto store = stores.take();
    const Inserted inserted = store->insert_run(run);
    const auto answer = run_answer(*store, inserted.id, false);
    return json_answer(inserted.created ? 201 : 200, json_text(*answer));
}

http::Response BoardService::Parts::deal_ticket(const http::Request& req) {
    const std::int64_t issued = now_ms();
    if (const std::int64_t wait = ticket_rate.take(req.client, issued); wait > 0) {
        http::Response busy =
            refusal_answer(429, "more tickets a minute than this server deals to one address");
        busy.headers.emplace_back("Retry-After", std::to_string(wait));
        return busy;
    }
    // The seed is the server's own draw: a player who could choose it could
    // search offline for an easy game.
    std::random_device source;
    const auto seed = static_cast<std::uint32_t>(source());
    auto store = stores.take();
    const Ticket ticket = store->issue_ticket(seed, issued);
    // Used and expired tickets would otherwise be kept for good, one a game.
    if (std::int64_t last = tickets_purged_ms.load();
        issued - last >= TICKET_PURGE_EVERY_MS &&
        tickets_purged_ms.compare_exchange_strong(last, issued))
        store->purge_tickets(issued - TICKET_LIFE_MS);
    return json_answer(201, json_text(Json{{"ticket", ticket.id},
                                           {"seed", ticket.seed},
                                           {"issued", iso_utc(ticket.issued_ms)}}));
}

http::Response BoardService::Parts::board_api(const http::Request& req) {
    const auto params = http::read_query(http::query_of(req.target));
    if (const auto* reason = std::get_if<std::string>(&params))
        return refusal_answer(400, *reason);
    const auto& given = std::get<http::Parameters>(params);
    const auto query = board_request({given.begin(), given.end()});
    if (const auto* reason = std::get_if<std::string>(&query))
        return refusal_answer(400, *reason);
    auto store = stores.take();
    return board_read(
        req, *store, made, JSON,
        [&]() -> std::optional<std::string> {
            return requested_board_text(*store, std::get<BoardRequest>(query));
        },
        [] { return refusal_answer(404, "no such board"); });
}

http::Response BoardService::Parts::run_api(const http::Request& req, std::int64_t id) {
    auto store = stores.take();
    return board_read(
        req, *store, made, JSON,
        [&]() -> std::optional<std::string> {
            const auto answer = run_answer(*store, id, true);
            if (!answer)
                return std::nullopt;
            return json_text(*answer);
        },
        [] { return refusal_answer(404, "no such run"); });
}

http::Response BoardService::Parts::recording(std::int64_t id) {
    auto store = stores.take();
    auto bytes = store->recording(id);
    if (!bytes)
        return refusal_answer(404, "no such run");
    http::Response response;
    response.content_type = "text/plain; charset=utf-8";
    response.body = std::move(*bytes);
    response.ranges = true;
    // A run's recording is what was sent, for good.
    response.cache_control = "public, max-age=31536000, immutable";
    return response;
}

http::Response BoardService::Parts::health() {
    try {
        auto store = stores.take();
        store->count(BoardQuery{});
        return json_answer(200, R"({"ok":true})");
    } catch (const StoreError& e) {
        return refusal_answer(503, std::string("the database does not answer: ") + e.what());
    }
}

http::Response BoardService::Parts::play_page_answer() {
    http::Response page;
    page.content_type = "text/html; charset=utf-8";
    page.body = pages::play_page();
    page.cache_control = "max-age=60";
    return page;
}

// A session in play shows as it is played; one that ended is its run.
http::Response BoardService::Parts::live_page_answer(std::int64_t id) {
    if (live.playing(id)) {
        http::Response page;
        page.content_type = "text/html; charset=utf-8";
        page.body = pages::live_page(id);
        page.cache_control = "no-store";
        return page;
    }
    std::optional<std::int64_t> run;
    try {
        run = stores.take()->live_run(id);
    } catch (const StoreError&) {
    }
    if (!run)
        return page_refusal(pages::Missing::page);
    http::Response moved;
    moved.status = 303;
    moved.content_type = "text/plain; charset=utf-8";
    moved.body = "/runs/" + std::to_string(*run) + "\n";
    moved.headers.emplace_back("Location", "/runs/" + std::to_string(*run));
    return moved;
}

http::Response BoardService::Parts::route(const http::Request& req) {
    const auto found = http::route_of(req.path());
    const bool reads = req.method == "GET" || req.method == "HEAD";
    if (!found || !http::takes(found->place, req.method))
        return no_such_route(req);
    switch (found->place) {
    case http::Place::board_page:
        return board_page_answer(req, stores, made);
    case http::Place::healthz:
        return health();
    case http::Place::api_board:
        return board_api(req);
    case http::Place::api_runs:
        return submit(req);
    case http::Place::api_tickets:
        return deal_ticket(req);
    case http::Place::api_run:
        return run_api(req, found->id);
    case http::Place::run_page:
        return run_page_answer(req, found->id, stores, made);
    case http::Place::run_replay:
        return recording(found->id);
    case http::Place::run_cast:
        return run_cast_answer(found->id, stores, casts);
    case http::Place::static_file:
        return static_answer(req, config.web_dir);
    case http::Place::api_live:
        return reads ? live.list() : live.open(req);
    case http::Place::api_live_games:
        return live.deal(found->id, req);
    case http::Place::api_live_batches:
        return live.batch(found->id, req);
    case http::Place::api_live_stream:
        return live.watch(found->id, req);
    case http::Place::live_page:
        return live_page_answer(found->id);
    case http::Place::play_page:
        return play_page_answer();
    }
    return no_such_route(req);
}

http::Response BoardService::Parts::handle(const http::Request& req) {
    return finished(http::coded_for(req, route(req), &gzipped));
}

void BoardService::Parts::log_line(const std::string& line) {
    const std::lock_guard lock(log_mutex);
    sink(line);
}

// What the live sessions cost, for whoever sizes the board: the batches'
// transactions, the replays' CPU and how far they kept behind the batches,
// said once as the server stops.
void BoardService::Parts::log_live_totals() {
    const CommitCounts commits = keeper.commits();
    if (commits.commits == 0)
        return;
    const live::LiveTotals totals = live.totals();
    const auto lag = [&](double share) {
        return static_cast<long long>(totals.replay_lags.percentile(share).value_or(0));
    };
    char line[400];
    std::snprintf(line, sizeof line,
                  "orbitrix-server: live: %lld batches in %lld transactions (%.2f a transaction, "
                  "%lld failed); %lld sessions ended, %lld batches, their replays %.3f s of CPU "
                  "(%.3f ms a batch), played for the watchers %lld ms (p50) and %lld ms (p99) "
                  "after their arrival\n",
                  static_cast<long long>(commits.batches), static_cast<long long>(commits.commits),
                  static_cast<double>(commits.batches) / static_cast<double>(commits.commits),
                  static_cast<long long>(commits.failed), static_cast<long long>(totals.sessions),
                  static_cast<long long>(totals.batches),
                  static_cast<double>(totals.replay_cpu_ns) / 1e9,
                  totals.batches == 0 ? 0.0
                                      : static_cast<double>(totals.replay_cpu_ns) / 1e6 /
                                            static_cast<double>(totals.batches),
                  lag(0.5), lag(0.99));
    log_line(line);
}

void BoardService::Parts::log(const http::Exchange& e) {
    const auto field = [](const std::string& text) {
        return text.empty() ? std::string("-") : http::log_text(text);
    };
    // Every field a client chose is escaped: one request, one line.
    log_line(iso_utc(now_ms()) + " " + field(e.client) + " " + field(e.method) + " " +
             field(e.target) + " " + std::to_string(e.status) + " " + std::to_string(e.bytes) +
             " " + std::to_string(e.ms) + "ms\n");
}

BoardService::BoardService(const ServiceConfig& config) : parts_(std::make_unique<Parts>(config)) {
    Parts& p = *parts_;
    // The sessions a killed server, or another one, left in play.
    p.live.restore();
#ifdef ORBITRIX_HAVE_POSTGRES
    if (is_postgres_url(config.database))
        p.listener = std::make_unique<LiveListener>(
            config.database,
            [&p](const std::string& payload) {
                if (const auto change = change_of(payload))
                    p.live.changed(*change);
            },
            // Notices given while it did not listen are lost: the store says.
            [&p] { p.live.restore(); });
#endif
    http::ServerConfig edge;
    edge.host = config.host;
    edge.port = config.port;
    edge.limits = config.edge;
    edge.trusted_proxies = config.trusted_proxies;
    // Each replay in flight holds a route thread while it waits.
    edge.workers = config.workers + static_cast<int>(config.waiting) + READER_THREADS;
    edge.waiting = ROUTES_WAITING;
    http::Service service;
    service.body_rules = [max_body = config.limits.max_body, dropped = config.edge.dropped_body](
                             std::string_view method, std::string_view target) {
        const auto path = target.substr(0, target.find('?'));
        if (method == "POST" && path == "/api/runs")
            return http::BodyRule{max_body, true};
        if (method == "POST" && path.starts_with("/api/live/") && path.ends_with("/batches"))
            return http::BodyRule{MOST_BATCH_BYTES, true};
        // A ticket is asked for with an empty POST, often with no
        // Content-Length at all: any other body is read only to be dropped.
        return http::BodyRule{dropped, false};
    };
    service.handle = [&p](const http::Request& request) { return p.handle(request); };
    service.refused = [](const http::Refusal& refusal) {
        return finished(refusal_answer(refusal.status, refusal.reason));
    };
    service.log = [&p](const http::Exchange& exchange) { p.log(exchange); };
    service.failed = [&p](const http::Exchange& e, const std::string& what) {
        p.log_line("error in " + http::log_text(e.method) + " " + http::log_text(e.target) + ": " +
                   http::log_text(what) + "\n");
    };
    p.server = std::make_unique<http::Server>(std::move(edge), std::move(service));
}

BoardService::~BoardService() = default;

int BoardService::port() const {
    return parts_->server->port();
}

void BoardService::run() {
    parts_->server->run();
    parts_->log_live_totals();
}

void BoardService::stop() {
    parts_->server->stop();
}

void BoardService::log_to(std::function<void(const std::string&)> sink) {
    const std::lock_guard lock(parts_->log_mutex);
    parts_->sink = std::move(sink);
}

} // namespace board
