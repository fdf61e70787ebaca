#pragma once
// A board serving in the test's own process on a loopback port, on a real
// SQLite file, and a client that sends bytes as a stranger would: exactly
// those given, on one connection.
#include "server/service/board_service.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifndef ORBITRIX_TEST_DATA
#error "the build names the tests' data folder"
#endif

namespace teste {

inline std::string committed() {
    std::ifstream in(ORBITRIX_TEST_DATA "/session.replay", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

// A board serving in this process, on a port of its own; on a SQLite file of
// its own unless the config names a database.
class Board {
  public:
    explicit Board(board::ServiceConfig config = {}) {
        config.port = 0;
        if (config.database.empty())
            config.database = dir.file("board.sqlite3");
        service = std::make_unique<board::BoardService>(config);
        service->log_to([this](const std::string& line) {
            const std::lock_guard lock(mutex);
            log.push_back(line);
        });
        serving = std::thread([this] { service->run(); });
        client().Get("/healthz"); // serving once this answers
    }
    ~Board() {
        service->stop();
        serving.join();
    }

    httplib::Client client() const {
        httplib::Client c("127.0.0.1", service->port());
        c.set_read_timeout(30, 0);
        return c;
    }
    httplib::Result post(const std::string& body) const {
        return client().Post("/api/runs", body, "text/plain");
    }
    nlohmann::json get_json(const std::string& path) const {
        const auto res = client().Get(path.c_str());
        EXPECT_TRUE(res);
        return nlohmann::json::parse(res->body);
    }
    std::int64_t total() const { return get_json("/api/board")["total"]; }
    std::vector<std::string> log_lines() {
        const std::lock_guard lock(mutex);
        return log;
    }
    // The log once it holds `count` lines, or after a few seconds.
    std::vector<std::string> log_lines_once(std::size_t count) {
        auto lines = log_lines();
        for (int i = 0; i < 300 && lines.size() < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            lines = log_lines();
        }
        return lines;
    }
    int port() const { return service->port(); }

    TempDir dir;

  private:
    std::unique_ptr<board::BoardService> service;
    std::thread serving;
    std::mutex mutex;
    std::vector<std::string> log;
};

inline board::ServiceConfig no_rate_limit() {
    board::ServiceConfig c;
    c.submissions_per_minute = 0;
    return c;
}

// Sends `request` as it is on one fresh connection to 127.0.0.1:port, and
// reads until the server closes or `seconds` pass. (The sending side stays
// open: httplib takes a half-closed peer for one gone, and answers nothing.)
inline std::string exchange(int port, const std::string& request, int seconds = 10) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_GE(fd, 0);
    timeval timeout{seconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
        std::size_t sent = 0;
        while (sent < request.size()) {
            const ssize_t n =
                ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<std::size_t>(n);
        }
        char buffer[65536];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(n));
    } else {
        ADD_FAILURE() << "cannot connect to port " << port;
    }
    ::close(fd);
    return answer;
}

// Sends each request on one kept-alive connection, each once the answer
// before it has come whole (its headers and Content-Length bytes); the
// answers, "" for one that did not come within `seconds`.
inline std::vector<std::string> exchange_each(int port, const std::vector<std::string>& requests,
                                              int seconds = 3) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    timeval timeout{seconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<std::string> answers;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    EXPECT_TRUE(connected);
    for (const auto& request : requests) {
        std::string answer;
        if (connected && ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
                             static_cast<ssize_t>(request.size())) {
            char buffer[4096];
            std::size_t head_end = std::string::npos;
            std::size_t length = 0;
            for (ssize_t n;
                 (head_end == std::string::npos || answer.size() < head_end + 4 + length) &&
                 (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) {
                answer.append(buffer, static_cast<std::size_t>(n));
                head_end = answer.find("\r\n\r\n");
                const auto at = answer.find("Content-Length: ");
                if (head_end != std::string::npos && at != std::string::npos && at < head_end)
                    length = std::stoul(answer.substr(at + 16));
            }
        }
        answers.push_back(answer);
    }
    ::close(fd);
    return answers;
}

// The status of each answer in `raw`, in order ("HTTP/1.1 201 ...").
inline std::vector<int> statuses(const std::string& raw) {
    std::vector<int> found;
    for (std::size_t at = raw.find("HTTP/1.1 "); at != std::string::npos;
         at = raw.find("HTTP/1.1 ", at + 1))
        found.push_back(std::stoi(raw.substr(at + 9, 3)));
    return found;
}

// The value of the first answer's header `name`, or "".
inline std::string header_of(const std::string& raw, const std::string& name) {
    const std::string key = "\r\n" + name + ": ";
    const auto at = raw.find(key);
    if (at == std::string::npos)
        return {};
    const auto from = at + key.size();
    return raw.substr(from, raw.find("\r\n", from) - from);
}

} // namespace teste
