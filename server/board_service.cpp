#include "server/board_service.hpp"

#include "server/accept_encoding.hpp"
#include "server/answers.hpp"
#include "server/http/allowed_methods.hpp"
#include "server/http/client_address.hpp"
#include "server/http/log_text.hpp"
#include "server/http/query.hpp"
#include "server/http/request_shape.hpp"
#include "server/page_routes.hpp"
#include "server/pages/cast_cache.hpp"
#include "server/ranked_rules.hpp"
#include "server/rate_limit.hpp"
#include "server/replay_pool.hpp"
#include "server/route_id.hpp"
#include "server/sha256.hpp"
#include "server/store_pool.hpp"

#include <httplib.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string_view>

namespace board {
namespace {

// A replay takes at most its CPU budget; by then a worker is free.
constexpr int BUSY_RETRY_SECONDS = 2;
// Requests on one connection before it is closed: a page's reader comes back.
constexpr std::size_t KEEP_ALIVE_REQUESTS = 100;
// HTTP threads besides those that may wait on replays, for the reads.
constexpr int READER_THREADS = 8;
// A body sent where none is read (a ticket's ask, a refused method) is
// dropped up to this much; past it the answer is 413.
constexpr std::size_t DROPPED_BODY_LIMIT = 4096;

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

void send_json(httplib::Response& res, int status, const std::string& body) {
    res.status = status;
    res.set_content(body, "application/json");
}

void refuse(httplib::Response& res, int status, const std::string& reason) {
    send_json(res, status, error_body(reason));
}

// Who sent the request: the peer, or what a trusted proxy forwards. Every
// X-Forwarded-For header counts, in the order they came.
std::string client_address(const httplib::Request& req, const std::vector<http::Cidr>& proxies) {
    std::string forwarded;
    const std::size_t headers = req.get_header_value_count("X-Forwarded-For");
    for (std::size_t i = 0; i < headers; ++i) {
        if (i > 0)
            forwarded += ',';
        forwarded += req.get_header_value("X-Forwarded-For", i);
    }
    return http::client_address(req.remote_addr, forwarded, proxies);
}

// Reads and drops a body the route has no use for. A request with neither
// Content-Length nor chunked Transfer-Encoding has none, and nothing is read:
// httplib would wait for the connection's end. A body is read to its end
// even past `limit` (httplib bounds it by the payload limit), so the next
// request on the connection is read from where it starts. False when the
// body was longer than `limit` or did not arrive whole.
bool drop_body(const httplib::Request& req, const httplib::ContentReader& reader,
               std::size_t limit) {
    const bool chunked =
        req.get_header_value("Transfer-Encoding").find("chunked") != std::string::npos;
    if (!chunked && !req.has_header("Content-Length"))
        return true;
    std::size_t total = 0;
    const bool whole = reader([&total](const char*, std::size_t length) {
        total += length;
        return true;
    });
    return whole && total <= limit;
}

void refuse_body(httplib::Response& res) {
    refuse(res, 413,
           "this route takes no body past " + std::to_string(DROPPED_BODY_LIMIT) + " bytes");
}

// A known path asked with a method it does not take: 405 and what it takes.
void no_such_route(const httplib::Request& req, httplib::Response& res) {
    if (const auto allow = http::allowed_methods(req.path)) {
        res.set_header("Allow", *allow);
        send_json(res, 405, error_body(req.method + " is not taken here; " + *allow + " is"));
        return;
    }
    refuse(res, 404, "no such page");
}

std::string default_reason(int status) {
    switch (status) {
    case 400:
        return "a malformed request";
    case 404:
        return "no such page";
    case 405:
        return "method not allowed";
    case 413:
        return "the request is too large";
    case 431:
        return "the request's headers are too large";
    default:
        return "HTTP status " + std::to_string(status);
    }
}

} // namespace

struct BoardService::Parts {
    explicit Parts(const ServiceConfig& c)
        : config(c), stores(c.database), replays(c.workers, c.waiting),
          rate(c.submissions_per_minute), ticket_rate(c.submissions_per_minute),
          casts(c.cast_cache_bytes) {}

    ServiceConfig config;
    StorePool stores;
    ReplayPool replays;
    RateLimit rate;
    RateLimit ticket_rate;
    pages::CastCache casts;
    httplib::Server http;
    int port = 0;

    std::mutex log_mutex;
    std::function<void(const std::string&)> sink = [](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), stderr);
    };
    std::map<const httplib::Request*, std::chrono::steady_clock::time_point> started;

    void routes();
    void submit(const httplib::Request& req, httplib::Response& res);
    void deal_ticket(const httplib::Request& req, httplib::Response& res);
    void log(const httplib::Request& req, const httplib::Response& res);
};

void BoardService::Parts::submit(const httplib::Request& req, httplib::Response& res) {
    const std::int64_t received = now_ms();
    if (const std::int64_t wait = rate.take(client_address(req, config.trusted_proxies), received);
        wait > 0) {
        res.set_header("Retry-After", std::to_string(wait));
        return refuse(res, 429,
                      "more submissions a minute than this server takes from one "
                      "address");
    }
    auto screened = screen(req.body, config.limits);
    if (const auto* refused = std::get_if<Refused>(&screened))
        return refuse(res, refused->status, refused->reason);

    const auto params = http::read_query(http::query_of(req.target));
    if (const auto* reason = std::get_if<std::string>(&params))
        return refuse(res, 400, *reason);
    const auto& given = std::get<http::Parameters>(params);
    const auto named = given.find("tickets");
    const auto tickets = ticket_list(named == given.end() ? std::string() : named->second);
    if (!tickets)
        return refuse(res, 400, "tickets is a comma-separated list of ticket ids, in game order");

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
        res.set_header("Retry-After", std::to_string(BUSY_RETRY_SECONDS));
        return refuse(res, 503, "more replays are waiting than this server's workers take");
    }
    Judged outcome = judged.get();
    if (const auto* refused = std::get_if<Refused>(&outcome))
        return refuse(res, refused->status, refused->reason);

    run.sha256 = sha256_hex(req.body);
    run.bytes = req.body;
    run.received_ms = received;
    const auto& judged_games = std::get<std::vector<JudgedGame>>(outcome);

    auto store = stores.take();
    const auto find = [&store](const std::string& id) { return store->ticket(id); };
    const bool asks_ranked = named != given.end();
    // A ticket another run claimed between the check and the insert makes
    // the store refuse the whole run; checked again, that game goes open.
    std::vector<Ranking> ranking;
    Inserted inserted;
    std::size_t tries = 0;
    do {
        ranking = rank_games(judged_games, *tickets, find, received);
        // Each retry sees at least one more ticket taken; past that many
        // the store disagrees with itself, and nothing is ranked.
        if (++tries > judged_games.size())
            for (Ranking& r : ranking)
                r = Ranking{Kind::open, {}, "its ticket could not be claimed"};
        run.games.clear();
        for (std::size_t i = 0; i < judged_games.size(); ++i) {
            run.games.push_back(judged_games[i].game);
            run.games.back().kind = ranking[i].kind;
            run.games.back().ticket = ranking[i].ticket;
        }
        inserted = store->insert_run(run);
    } while (inserted.ticket_taken);
    auto answer = run_answer(*store, inserted.id, false);
    if (asks_ranked && inserted.created)
        for (std::size_t i = 0; i < ranking.size() && i < (*answer)["games"].size(); ++i)
            if (ranking[i].kind == Kind::open)
                (*answer)["games"][i]["open_because"] = ranking[i].open_because;
    send_json(res, inserted.created ? 201 : 200, json_text(*answer));
}

void BoardService::Parts::deal_ticket(const httplib::Request& req, httplib::Response& res) {
    const std::int64_t issued = now_ms();
    if (const std::int64_t wait =
            ticket_rate.take(client_address(req, config.trusted_proxies), issued);
        wait > 0) {
        res.set_header("Retry-After", std::to_string(wait));
        return refuse(res, 429, "more tickets a minute than this server deals to one address");
    }
    // The seed is the server's own draw: a player who could choose it could
    // search offline for an easy game.
    std::random_device source;
    const auto seed = static_cast<std::uint32_t>(source());
    auto store = stores.take();
    const Ticket ticket = store->issue_ticket(seed, issued);
    send_json(res, 201,
              json_text(Json{{"ticket", ticket.id},
                             {"seed", ticket.seed},
                             {"issued", iso_utc(ticket.issued_ms)}}));
}

void BoardService::Parts::routes() {
    add_page_routes(http, stores, config.web_dir, casts);
    http.Post("/api/runs",
              [this](const httplib::Request& req, httplib::Response& res) { submit(req, res); });
    // A ticket is asked for with an empty POST, often with no Content-Length
    // at all: the body is read here, only when one is announced.
    http.Post("/api/tickets", [this](const httplib::Request& req, httplib::Response& res,
                                     const httplib::ContentReader& reader) {
        if (!drop_body(req, reader, DROPPED_BODY_LIMIT))
            return refuse_body(res);
        deal_ticket(req, res);
    });
    http.Get("/api/board", [this](const httplib::Request& req, httplib::Response& res) {
        const auto params = http::read_query(http::query_of(req.target));
        if (const auto* reason = std::get_if<std::string>(&params))
            return refuse(res, 400, *reason);
        const auto& given = std::get<http::Parameters>(params);
        const auto query = board_query({given.begin(), given.end()});
        if (const auto* reason = std::get_if<std::string>(&query))
            return refuse(res, 400, *reason);
        auto store = stores.take();
        send_json(res, 200, board_text(*store, std::get<BoardQuery>(query)));
    });
    http.Get(R"(/api/runs/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
        const auto id = id_in(req);
        auto store = stores.take();
        const auto answer = id ? run_answer(*store, *id, true) : std::nullopt;
        if (!answer)
            return refuse(res, 404, "no such run");
        send_json(res, 200, json_text(*answer));
    });
    http.Get(R"(/runs/(\d+)\.replay)", [this](const httplib::Request& req, httplib::Response& res) {
        const auto id = id_in(req);
        auto store = stores.take();
        const auto bytes = id ? store->recording(*id) : std::nullopt;
        if (!bytes)
            return refuse(res, 404, "no such run");
        res.set_content(*bytes, "text/plain; charset=utf-8");
    });
    http.Get("/healthz", [this](const httplib::Request&, httplib::Response& res) {
        try {
            auto store = stores.take();
            store->count(BoardQuery{});
            send_json(res, 200, R"({"ok":true})");
        } catch (const StoreError& e) {
            refuse(res, 503, std::string("the database does not answer: ") + e.what());
        }
    });
    // Last, past every route: what none of them took.
    // A method with a body is answered before httplib reads one: with no
    // Content-Length it would wait for the connection's end. POST /api/runs
    // alone reads its body first.
    const auto refused_with_body = [](const httplib::Request& req, httplib::Response& res,
                                      const httplib::ContentReader& reader) {
        if (!drop_body(req, reader, DROPPED_BODY_LIMIT))
            return refuse_body(res);
        no_such_route(req, res);
    };
    const std::string any = ".*";
    http.Get(any, no_such_route);
    http.Options(any, no_such_route);
    http.Post(R"((?!/api/runs$).*)", refused_with_body);
    http.Put(any, refused_with_body);
    http.Patch(any, refused_with_body);
    http.Delete(any, refused_with_body);
}

void BoardService::Parts::log(const httplib::Request& req, const httplib::Response& res) {
    std::int64_t ms = 0;
    {
        const std::lock_guard lock(log_mutex);
        if (const auto it = started.find(&req); it != started.end()) {
            ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now() - it->second)
                     .count();
            started.erase(it);
        }
    }
    // Every field a client chose is escaped: one request, one line.
    const std::string line = iso_utc(now_ms()) + " " +
                             http::log_text(client_address(req, config.trusted_proxies)) + " " +
                             http::log_text(req.method) + " " + http::log_text(req.target) + " " +
                             std::to_string(res.status) + " " + std::to_string(res.body.size()) +
                             " " + std::to_string(ms) + "ms\n";
    const std::lock_guard lock(log_mutex);
    sink(line);
}

BoardService::BoardService(const ServiceConfig& config) : parts_(std::make_unique<Parts>(config)) {
    Parts& p = *parts_;
    const int threads = config.workers + static_cast<int>(config.waiting) + READER_THREADS;
    // httplib owns the queue it is handed and deletes it.
    p.http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    p.http.set_payload_max_length(config.limits.max_body);
    // An answer's headers and body go out in two writes: with Nagle's
    // algorithm the body would wait for the client's delayed ACK, some 40 ms
    // a request on a kept-alive connection. (Debian's httplib is a shared
    // library, so its CPPHTTPLIB_TCP_NODELAY default cannot be set here.)
    p.http.set_tcp_nodelay(true);
    p.http.set_keep_alive_max_count(KEEP_ALIVE_REQUESTS);
    p.http.set_pre_routing_handler([&p](const httplib::Request& req, httplib::Response& res) {
        {
            const std::lock_guard lock(p.log_mutex);
            p.started[&req] = std::chrono::steady_clock::now();
        }
        const auto header = [&req](const char* name) -> std::optional<std::string_view> {
            if (!req.has_header(name))
                return std::nullopt;
            const auto found = req.headers.find(name);
            return std::string_view(found->second);
        };
        std::size_t header_bytes = req.method.size() + req.target.size() + req.version.size() + 4;
        std::size_t header_lines = 0;
        for (const auto& [name, value] : req.headers) {
            // httplib's own entries for the socket's ends came of no header.
            if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
                name == "LOCAL_PORT")
                continue;
            header_bytes += name.size() + value.size() + 4;
            ++header_lines;
        }
        const http::RequestShape shape{req.method,
                                       header_bytes,
                                       header_lines,
                                       header("Transfer-Encoding"),
                                       header("Content-Encoding"),
                                       req.ranges.size()};
        // Before httplib reads the body: what it would buffer or inflate
        // whole is refused from the headers alone.
        if (const auto refusal = http::refusal_for(shape)) {
            refuse(res, refusal->status, refusal->reason);
            res.set_header("Connection", "close");
            return httplib::Server::HandlerResponse::Handled;
        }
        // The hook before httplib picks the answer's encoding and cuts its
        // ranges; the request it hands over is its own, not a const object.
        auto& own = const_cast<httplib::Request&>(req);
        if (!http::keeps_ranges(shape))
            own.ranges.clear();
        if (req.has_header("Accept-Encoding")) {
            const auto found = own.headers.find("Accept-Encoding");
            found->second = without_brotli(found->second);
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    p.http.set_exception_handler(
        [&p](const httplib::Request& req, httplib::Response& res, std::exception_ptr error) {
            std::string what = "unknown";
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
            {
                const std::lock_guard lock(p.log_mutex);
                p.sink("error in " + http::log_text(req.method) + " " + http::log_text(req.target) +
                       ": " + http::log_text(what) + "\n");
            }
            refuse(res, 500, "internal error");
        });
    p.http.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty())
            return;
        // httplib caps a form's body far below the recording's limit, and
        // curl's --data-binary sends a form unless told otherwise.
        if (res.status == 413 &&
            req.get_header_value("Content-Type") == "application/x-www-form-urlencoded")
            return refuse(res, 413,
                          "a form's body is limited to 8192 bytes: send the recording "
                          "as text/plain");
        refuse(res, res.status, default_reason(res.status));
    });
    p.http.set_logger(
        [&p](const httplib::Request& req, const httplib::Response& res) { p.log(req, res); });
    p.routes();
    if (config.port == 0) {
        p.port = p.http.bind_to_any_port(config.host);
        if (p.port < 0)
            throw std::runtime_error("cannot listen on " + config.host);
    } else {
        if (!p.http.bind_to_port(config.host, config.port))
            throw std::runtime_error("cannot listen on " + config.host + ":" +
                                     std::to_string(config.port));
        p.port = config.port;
    }
}

BoardService::~BoardService() = default;

int BoardService::port() const {
    return parts_->port;
}

void BoardService::run() {
    parts_->http.listen_after_bind();
}

void BoardService::stop() {
    parts_->http.stop();
}

void BoardService::log_to(std::function<void(const std::string&)> sink) {
    const std::lock_guard lock(parts_->log_mutex);
    parts_->sink = std::move(sink);
}

} // namespace board
