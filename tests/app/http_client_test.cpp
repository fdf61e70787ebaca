// The HTTP client against a real server on loopback: what it sends arrives
// byte for byte, every answer comes back as the server gave it, and no
// answer within the limits is a failure, not a wait.
#include "app/http/client.hpp"

#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A server on a port of its own, answering on another thread until the
// test ends.
class LoopbackServer {
  public:
    explicit LoopbackServer(httplib::Server& server) : server_(server) {
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~LoopbackServer() {
        server_.stop();
        thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    std::string at(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

  private:
    httplib::Server& server_;
    int port_ = 0;
    std::thread thread_;
};

class HttpClient : public testing::Test {
  protected:
    // A proxy of the machine running the tests must not see loopback.
    void SetUp() override { setenv("no_proxy", "127.0.0.1", 1); }
};

TEST_F(HttpClient, APostArrivesByteForByteAndItsAnswerComesBackWhole) {
    httplib::Server server;
    std::string body;
    std::string content_type;
    server.Post("/api/runs", [&](const httplib::Request& request, httplib::Response& response) {
        body = request.body;
        content_type = request.get_header_value("Content-Type");
        response.status = 429;
        response.set_header("Retry-After", "17");
        response.set_content(std::string("{\"error\":\"slow down\"}\0!", 24), "application/json");
    });
    const LoopbackServer running(server);
    std::string sent = "orbitrix replay 1\r\n";
    sent += std::string(1, '\0') + "\xc3\xa9\xff";
    sent += std::string(300'000, 'k');
    const http::Outcome outcome =
        http::send({"POST", running.at("/api/runs"), sent, "text/plain; charset=utf-8"});
    ASSERT_TRUE(std::holds_alternative<http::Response>(outcome))
        << std::get<http::Failure>(outcome).what;
    const auto& response = std::get<http::Response>(outcome);
    EXPECT_EQ(body, sent);
    EXPECT_EQ(content_type, "text/plain; charset=utf-8");
    EXPECT_EQ(response.status, 429);
    EXPECT_EQ(response.body, std::string("{\"error\":\"slow down\"}\0!", 24));
    EXPECT_EQ(response.retry_after, "17");
}

TEST_F(HttpClient, AGetKeepsItsQueryAndARedirectIsNotFollowed) {
    httplib::Server server;
    server.Get("/api/board", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.get_param_value("kind"), "text/plain");
    });
    server.Get("/moved", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/api/board?kind=open");
    });
    const LoopbackServer running(server);
    const auto board = http::send({"GET", running.at("/api/board?kind=ranked")});
    ASSERT_TRUE(std::holds_alternative<http::Response>(board));
    EXPECT_EQ(std::get<http::Response>(board).status, 200);
    EXPECT_EQ(std::get<http::Response>(board).body, "ranked");
    EXPECT_EQ(std::get<http::Response>(board).retry_after, std::nullopt);
    const auto moved = http::send({"GET", running.at("/moved")});
    ASSERT_TRUE(std::holds_alternative<http::Response>(moved));
    EXPECT_EQ(std::get<http::Response>(moved).status, 302);
}

TEST_F(HttpClient, AnAnswerLongerThanAnyBoardsIsAFailure) {
    httplib::Server server;
    server.Get("/huge", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(http::MOST_ANSWER_BYTES + 1, 'x'), "text/plain");
    });
    server.Get("/most", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::string(http::MOST_ANSWER_BYTES, 'x'), "text/plain");
    });
    const LoopbackServer running(server);
    const auto huge = http::send({"GET", running.at("/huge")});
    ASSERT_TRUE(std::holds_alternative<http::Failure>(huge));
    EXPECT_EQ(std::get<http::Failure>(huge).what, "the answer is longer than any board's");
    const auto most = http::send({"GET", running.at("/most")});
    ASSERT_TRUE(std::holds_alternative<http::Response>(most));
    EXPECT_EQ(std::get<http::Response>(most).body.size(), http::MOST_ANSWER_BYTES);
}

TEST_F(HttpClient, NoAnswerWithinTheLimitsIsAFailure) {
    httplib::Server server;
    server.Post("/slow", [](const httplib::Request&, httplib::Response& response) {
        std::this_thread::sleep_for(1500ms);
        response.set_content("{}", "application/json");
    });
    std::string closed;
    {
        const LoopbackServer running(server);
        const auto started = std::chrono::steady_clock::now();
        const auto slow = http::send({"POST", running.at("/slow"), "x", "text/plain"}, {1s, 200ms});
        EXPECT_LT(std::chrono::steady_clock::now() - started, 1400ms);
        ASSERT_TRUE(std::holds_alternative<http::Failure>(slow));
        EXPECT_NE(std::get<http::Failure>(slow).what, "");
        closed = running.at("/api/runs");
    }
    // The server is gone: nothing listens on its port any more.
    const auto refused = http::send({"POST", closed, "x", "text/plain"});
    ASSERT_TRUE(std::holds_alternative<http::Failure>(refused));
    EXPECT_NE(std::get<http::Failure>(refused).what, "");
}

} // namespace
