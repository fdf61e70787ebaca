#include "server/service/live_listener.hpp"

#include <libpq-fe.h>
#include <poll.h>

#include <charconv>
#include <chrono>
#include <memory>

namespace board {
namespace {

// How long a wait on the socket lasts before the thread looks whether it
// is asked to stop, and how long a silent connection is trusted before it
// is asked whether it still stands (a network that drops says nothing).
constexpr int POLL_MS = 250;
constexpr auto ASK_AFTER = std::chrono::seconds(10);
// Between attempts to connect again.
constexpr auto RECONNECT_EVERY = std::chrono::seconds(1);

struct Finish {
    void operator()(PGconn* conn) const { PQfinish(conn); }
};
using Conn = std::unique_ptr<PGconn, Finish>;

// One command with no rows; false when it failed.
bool command(PGconn* conn, const char* sql) {
    PGresult* result = PQexec(conn, sql);
    const bool ok = result != nullptr && (PQresultStatus(result) == PGRES_COMMAND_OK ||
                                          PQresultStatus(result) == PGRES_TUPLES_OK);
    PQclear(result);
    return ok;
}

Conn listening_connection(const std::string& url) {
    Conn conn(PQconnectdb(url.c_str()));
    if (!conn || PQstatus(conn.get()) != CONNECTION_OK ||
        !command(conn.get(), (std::string("LISTEN ") + LIVE_CHANNEL).c_str()))
        return nullptr;
    return conn;
}

std::optional<std::int64_t> whole(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<live::LiveBoard::Change> change_of(std::string_view payload) {
    const auto colon = payload.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto session = whole(payload.substr(0, colon));
    const std::string_view what = payload.substr(colon + 1);
    if (!session)
        return std::nullopt;
    if (what == "deal")
        return live::LiveBoard::Change{*session, 0, false};
    if (what == "end")
        return live::LiveBoard::Change{*session, 0, true};
    const auto seq = whole(what);
    if (!seq)
        return std::nullopt;
    return live::LiveBoard::Change{*session, *seq, false};
}

LiveListener::LiveListener(std::string url, std::function<void(const std::string&)> noticed,
                           std::function<void()> listening)
    : url_(std::move(url)), noticed_(std::move(noticed)), listening_(std::move(listening)),
      thread_([this](const std::stop_token& stop) { run(stop); }) {}

LiveListener::~LiveListener() {
    thread_.request_stop();
}

void LiveListener::run(const std::stop_token& stop) {
    while (!stop.stop_requested()) {
        const Conn conn = listening_connection(url_);
        if (!conn) {
            const auto until = std::chrono::steady_clock::now() + RECONNECT_EVERY;
            while (!stop.stop_requested() && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(POLL_MS));
            continue;
        }
        listening_();
        auto heard = std::chrono::steady_clock::now();
        while (!stop.stop_requested()) {
            pollfd socket{PQsocket(conn.get()), POLLIN, 0};
            if (socket.fd < 0 || poll(&socket, 1, POLL_MS) < 0)
                break;
            const auto now = std::chrono::steady_clock::now();
            if (socket.revents != 0) {
                if (PQconsumeInput(conn.get()) == 0)
                    break; // the connection dropped
                heard = now;
            } else if (now - heard > ASK_AFTER) {
                if (!command(conn.get(), "SELECT 1"))
                    break;
                heard = now;
            }
            while (PGnotify* notice = PQnotifies(conn.get())) {
                const std::string payload = notice->extra;
                PQfreemem(notice);
                noticed_(payload);
            }
            if (PQstatus(conn.get()) != CONNECTION_OK)
                break;
        }
    }
}

} // namespace board
