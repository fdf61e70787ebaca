#pragma once
// The board's HTTP service: its routes, its replay workers and its
// database connections. The program and the tests run it alike, over real
// sockets.

#include "server/http/client_address.hpp"
#include "server/http/edge_limits.hpp"
#include "server/live/live_board.hpp"
#include "server/submission.hpp"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace board {

struct ServiceConfig {
    std::string host = "127.0.0.1";
    int port = 8080; // 0: any free port
    std::string database;
    std::string web_dir;             // the files the pages load from /static/; empty: found
    int workers = 2;                 // replay threads
    std::size_t waiting = 4;         // replays queued behind busy workers before a 503
    int connections = 0;             // to the database at most at once; 0: twice the cores
    int submissions_per_minute = 30; // per address; 0: no limit
    std::size_t cast_cache_bytes = std::size_t{256} << 20; // the run pages' casts kept
    // Peers whose X-Forwarded-For names the client; none: no header is believed.
    std::vector<http::Cidr> trusted_proxies;
    Limits limits;
    http::EdgeLimits edge;
    live::LiveLimits live;
};

class BoardService {
  public:
    // Opens (and creates or migrates) the database and binds the socket.
    // Throws board::StoreError or std::runtime_error with a one-line reason.
    explicit BoardService(const ServiceConfig& config);
    ~BoardService();
    BoardService(const BoardService&) = delete;
    BoardService& operator=(const BoardService&) = delete;

    int port() const;
    // Serves until stop(); then waits, for a grace, for the requests under
    // way.
    void run();
    // Safe from any thread, any number of times, before run() too.
    void stop();

    // Where the request log goes, one line a request; stderr by default.
    void log_to(std::function<void(const std::string&)> sink);

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace board
