#pragma once
// The board's HTTP edge: one thread of non-blocking I/O holds every
// connection, however slow its client, and hands each whole request to a
// pool of workers, where the routes may block on the store or a replay.
// Every byte, second and connection a client takes is bounded
// (edge_limits.hpp), before any work is done for it.

#include "server/http/client_address.hpp"
#include "server/http/edge_limits.hpp"
#include "server/http/message.hpp"
#include "server/http/refusal.hpp"
#include "server/http/request_reader.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace board::http {

struct ServerConfig {
    std::string host = "127.0.0.1";
    int port = 0; // 0: any free port
    EdgeLimits limits;
    // Peers whose X-Forwarded-For names the client; such a peer also speaks
    // for many clients, so its connections are not limited per address.
    std::vector<Cidr> trusted_proxies;
    int workers = 8;          // threads that run the routes
    std::size_t waiting = 64; // requests queued behind them before a 503
    // After stop(): how long the requests under way have to finish.
    std::chrono::milliseconds stop_grace{6'000};
};

// One request and its answer, as the log tells it.
struct Exchange {
    std::string client; // "-" before the header came
    std::string method;
    std::string target;
    int status = 0;
    std::size_t bytes = 0; // of the answer's body
    std::int64_t ms = 0;   // from the request's first byte to its answer's last
};

// What the edge serves.
struct Service {
    BodyRules body_rules;
    // A whole request's answer; runs on a worker, may block, may throw
    // (500). HEAD is asked as it came; the edge sends no body for it.
    std::function<Response(Request)> handle;
    // The answer to a request the edge itself refuses (a limit passed).
    std::function<Response(const Refusal&)> refused;
    // One call a request, from any thread.
    std::function<void(const Exchange&)> log;
    // A route that threw, with what it said.
    std::function<void(const Exchange&, const std::string& what)> failed;
};

class Server {
  public:
    // Binds the socket; throws std::runtime_error with a one-line reason.
    Server(ServerConfig config, Service service);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    int port() const;
    // Serves until stop(), then until what was under way has ended.
    void run();
    // Safe from any thread, any number of times, before run() too: stops
    // accepting, closes idle connections, lets the requests under way
    // finish for the grace, and closes what is left.
    void stop();

    struct Core;

  private:
    std::shared_ptr<Core> core_;
};

} // namespace board::http
