// The board's HTTP edge over real HTTP on a real SQLite file, sent as a
// stranger sends it: forged X-Forwarded-For, control bytes for the log,
// methods a path does not take, paths out of the web folder, bodiless
// POSTs and repeated query parameters.
#include "serving_board.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using teste::Board;
using teste::committed;
using teste::exchange;
using teste::header_of;
using teste::statuses;

std::string post_run(const std::string& forwarded) {
    const std::string body = committed();
    return "POST /api/runs HTTP/1.1\r\nHost: board\r\nConnection: close\r\n" +
           (forwarded.empty() ? std::string() : "X-Forwarded-For: " + forwarded + "\r\n") +
           "Content-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

int status_of(const std::string& raw) {
    const auto all = statuses(raw);
    return all.empty() ? 0 : all.front();
}

TEST(BoardEdge, ForgedForwardedAddressesDoNotDodgeTheLimitUnlessAProxyIsTrusted) {
    struct Case {
        const char* what;
        std::string listen;
        std::vector<std::string> proxies;
        bool honoured;
    };
    const Case cases[] = {
        {"no proxy trusted: loopback is a peer like any other", "127.0.0.1", {}, false},
        {"another proxy trusted", "127.0.0.1", {"10.0.0.0/8", "::1"}, false},
        {"loopback trusted", "127.0.0.1", {"127.0.0.0/8"}, true},
        // On a dual-stack socket the peer is ::ffff:127.0.0.1, the same
        // address.
        {"loopback trusted, peer v4-mapped", "::", {"127.0.0.1"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        board::ServiceConfig config;
        config.host = c.listen;
        config.submissions_per_minute = 2;
        for (const auto& proxy : c.proxies)
            config.trusted_proxies.push_back(*board::http::parse_cidr(proxy));
        Board b(config);
        EXPECT_EQ(status_of(exchange(b.port(), post_run("192.0.2.7"))), 201);
        EXPECT_EQ(status_of(exchange(b.port(), post_run("192.0.2.7"))), 200);
        EXPECT_EQ(status_of(exchange(b.port(), post_run("192.0.2.7"))), 429);
        // Another forged client, and the same one written v4-mapped.
        EXPECT_EQ(status_of(exchange(b.port(), post_run("198.51.100.1"))), c.honoured ? 200 : 429);
        EXPECT_EQ(status_of(exchange(b.port(), post_run("::ffff:192.0.2.7"))), 429);
        // A client's own entry left of the proxy's, a broken one, none.
        EXPECT_EQ(status_of(exchange(b.port(), post_run("192.0.2.7, 198.51.100.2"))),
                  c.honoured ? 200 : 429);
        // Believed or not, a broken header or none counts for the peer,
        // whose own allowance is fresh only when the header was believed.
        EXPECT_EQ(status_of(exchange(b.port(), post_run("198.51.100.3, junk"))),
                  c.honoured ? 200 : 429);
        EXPECT_EQ(status_of(exchange(b.port(), post_run(""))), c.honoured ? 200 : 429);
        EXPECT_EQ(status_of(exchange(b.port(), post_run("10.1.1.1\tjunk"))), 429);
        const auto lines = b.log_lines_once(10);
        ASSERT_EQ(lines.size(), 10u);
        // The log names the client as the limit saw it; the peer is IPv4.
        EXPECT_NE(lines[1].find(c.honoured ? " 192.0.2.7 POST " : " 127.0.0.1 POST "),
                  std::string::npos)
            << lines[1];
        for (const auto& line : lines)
            EXPECT_EQ(line.find("::ffff:"), std::string::npos) << line;
    }
}

TEST(BoardEdge, LogsOneEscapedLinePerRequestWhateverTheClientSends) {
    board::ServiceConfig config = teste::no_rate_limit();
    config.trusted_proxies = {*board::http::parse_cidr("127.0.0.1")};
    Board b(config);
    const std::string forged = "\n2026-01-01T00:00:00Z 10.0.0.1 GET / 200 1 0ms\n";
    const std::vector<std::string> requests = {
        "GET /%0a%1b]0;owned%07/x HTTP/1.1\r\nHost: b\r\nConnection: close\r\n\r\n",
        "GET /\x1b]0;owned\x07?q=\x1b[2J\x7f\x9b\xc2\x85\\\" HTTP/1.1\r\nHost: b\r\n"
        "Connection: close\r\n\r\n",
        "GET /api/board HTTP/1.1\r\nHost: b\r\nX-Forwarded-For: 192.0.2.9" + forged +
            "\r\nConnection: close\r\n\r\n",
        "GET /api/board HTTP/1.1\r\nHost: b\r\nX-Forwarded-For: 192.0.2.9\x1b[31m\r\n"
        "Connection: close\r\n\r\n",
        "GET /api/board?x=" + std::string(4000, '\n') + " HTTP/1.1\r\nHost: b\r\n\r\n",
        "G\x1b"
        "ET / HTTP/1.1\r\nHost: b\r\nConnection: close\r\n\r\n",
    };
    for (const auto& request : requests)
        EXPECT_FALSE(statuses(exchange(b.port(), request)).empty()) << request;
    // Each connection ends with at most one request answered, so one line
    // each, and the constructor's /healthz first.
    const auto lines = b.log_lines_once(requests.size() + 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // no stray line after
    ASSERT_EQ(b.log_lines().size(), requests.size() + 1);
    for (const auto& line : lines) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\n');
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
        for (const char ch : line.substr(0, line.size() - 1)) {
            const auto byte = static_cast<unsigned char>(ch);
            EXPECT_TRUE(byte >= 0x20 && byte < 0x7f) << "byte " << int(byte) << " in " << line;
        }
    }
    EXPECT_NE(lines[1].find(" /%0a%1b]0;owned%07/x "), std::string::npos) << lines[1];
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) {
                               return l.find("/\\x1b]0;owned\\x07?q=\\x1b[2J\\x7f") !=
                                      std::string::npos;
                           }),
              lines.end());
    // A forwarded value with control bytes is no address: the peer is named.
    for (const auto& line : lines)
        EXPECT_EQ(line.find("192.0.2.9"), std::string::npos) << line;
}

TEST(BoardEdge, KnownPathsAnswer405WithAllowAndUnknownOnes404) {
    Board b(teste::no_rate_limit());
    struct Case {
        std::string request; // the request line and any headers of its own
        int status;
        std::string allow;
    };
    const Case cases[] = {
        {"PUT /api/board HTTP/1.1\r\n", 405, "GET, HEAD"},
        {"DELETE /runs/1 HTTP/1.1\r\n", 405, "GET, HEAD"},
        {"PATCH /api/runs HTTP/1.1\r\n", 405, "POST"},
        {"OPTIONS /healthz HTTP/1.1\r\n", 405, "GET, HEAD"},
        {"GET /api/tickets HTTP/1.1\r\n", 405, "POST"},
        {"GET /api/runs HTTP/1.1\r\n", 405, "POST"},
        {"POST / HTTP/1.1\r\n", 405, "GET, HEAD"},
        {"POST /runs/7.cast HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", 405, "GET, HEAD"},
        {"DELETE /static/orbitrix.css HTTP/1.1\r\n", 405, "GET, HEAD"},
        // A chunked body is read, and dropped, before the method is refused.
        {"PUT /api/board HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n", 405,
         "GET, HEAD"},
        {"PUT /nowhere HTTP/1.1\r\n", 404, ""},
        {"DELETE /runs/x HTTP/1.1\r\n", 404, ""},
        {"POST /api/board/ HTTP/1.1\r\n", 404, ""},
        {"GET /nowhere HTTP/1.1\r\n", 404, ""},
        // A body past what is dropped: refused, once it is read.
        {"PUT /api/board HTTP/1.1\r\nContent-Length: 100000\r\n\r\n" + std::string(100000, 'x'),
         413, ""},
    };
    for (const auto& c : cases) {
        std::string request = c.request;
        const auto end = request.find("\r\n\r\n");
        const std::string head = "Host: b\r\nConnection: close\r\n";
        if (end == std::string::npos)
            request += head + "\r\n";
        else
            request.insert(end + 2, head);
        const auto started = std::chrono::steady_clock::now();
        const std::string answer = exchange(b.port(), request);
        EXPECT_EQ(status_of(answer), c.status) << c.request.substr(0, 60);
        EXPECT_EQ(header_of(answer, "Allow"), c.allow) << c.request.substr(0, 60);
        // Answered at once, not when httplib gives up waiting for a body.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    }
}

TEST(BoardEdge, StaticServesTheFolderOwnFilesAndNoLinkNulOrDotDot) {
    teste::TempDir place;
    namespace fs = std::filesystem;
    const fs::path web = place.file("web");
    fs::create_directories(web / "sub");
    const auto write = [](const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    };
    write(web / "orbitrix.css", "body{}");
    write(web / "sub" / "run.js", "run();");
    write(place.file("secret"), "SECRET");
    fs::create_symlink(place.file("secret"), web / "out.css");
    fs::create_symlink(web / "orbitrix.css", web / "in.css");
    fs::create_directory_symlink(web / "sub", web / "linked");
    fs::create_directory_symlink(place.file(""), web / "up");
    ASSERT_EQ(::mkfifo((web / "pipe.css").c_str(), 0600), 0);

    board::ServiceConfig config = teste::no_rate_limit();
    config.web_dir = web.string();
    Board b(config);
    struct Case {
        std::string path;
        int status;
        std::string body;
    };
    const Case cases[] = {
        {"/static/orbitrix.css", 200, "body{}"},
        {"/static/sub/run.js", 200, "run();"},
        {"/static/out.css", 404, ""},
        {"/static/in.css", 404, ""},
        {"/static/linked/run.js", 404, ""},
        {"/static/up/secret", 404, ""},
        {"/static/pipe.css", 404, ""},
        {"/static/sub", 404, ""},
        {"/static/", 404, ""},
        {"/static/../secret", 404, ""},
        {"/static/sub/../orbitrix.css", 404, ""},
        {"/static/%2e%2e/secret", 404, ""},
        {"/static/..%2fsecret", 404, ""},
        {"/static/orbitrix.css%00", 404, ""},
        {"/static/orbitrix.css%00.js", 404, ""},
        {"/static/%00", 404, ""},
        {"/static/" + std::string(3000, 'a'), 404, ""},
    };
    for (const auto& c : cases) {
        const std::string answer = exchange(
            b.port(), "GET " + c.path + " HTTP/1.1\r\nHost: b\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(status_of(answer), c.status) << c.path;
        EXPECT_EQ(answer.find("SECRET"), std::string::npos) << c.path;
        if (c.status == 200) {
            EXPECT_TRUE(answer.ends_with("\r\n\r\n" + c.body)) << c.path;
        }
    }
    EXPECT_EQ(header_of(exchange(b.port(), "GET /static/orbitrix.css HTTP/1.1\r\nHost: "
                                           "b\r\nConnection: close\r\n\r\n"),
                        "Content-Type"),
              "text/css");
}

TEST(BoardEdge, ATicketIsDealtForAPostWithNoBodyAndABodyIsStillBounded) {
    Board b(teste::no_rate_limit());
    const std::string ask = "POST /api/tickets HTTP/1.1\r\nHost: b\r\n";
    struct Case {
        const char* what;
        std::string request;
        std::vector<int> statuses;
    };
    const Case cases[] = {
        {"no body, no length", ask + "Connection: close\r\n\r\n", {201}},
        {"length 0", ask + "Content-Length: 0\r\nConnection: close\r\n\r\n", {201}},
        {"empty chunked",
         ask + "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n0\r\n\r\n",
         {201}},
        {"a small body", ask + "Content-Length: 2\r\nConnection: close\r\n\r\n{}", {201}},
        {"a body past the limit",
         ask + "Content-Length: 1000000\r\nConnection: close\r\n\r\n" + std::string(1000000, 'x'),
         {413}},
        {"chunked past the limit",
         ask + "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
             [] {
                 std::string chunks;
                 for (int i = 0; i < 64; ++i)
                     chunks += "400\r\n" + std::string(0x400, 'x') + "\r\n";
                 return chunks + "0\r\n\r\n";
             }(),
         {413}},
    };
    for (const auto& c : cases) {
        const auto started = std::chrono::steady_clock::now();
        const std::string answer = exchange(b.port(), c.request);
        EXPECT_EQ(statuses(answer), c.statuses) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << c.what;
        if (c.statuses.front() == 201) {
            EXPECT_NE(answer.find("\"ticket\":"), std::string::npos) << c.what;
        }
    }
    // Kept alive: a bodiless ask is answered, and the next request on the
    // connection is read as a request, not as the first one's body.
    const auto kept = teste::exchange_each(
        b.port(), {ask + "\r\n", ask + "\r\n", "GET /healthz HTTP/1.1\r\nHost: b\r\n\r\n"});
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(status_of(kept[0]), 201);
    EXPECT_EQ(status_of(kept[1]), 201);
    EXPECT_EQ(status_of(kept[2]), 200);
    EXPECT_EQ(b.get_json("/healthz")["ok"], true);
}

TEST(BoardEdge, APageAndTheApiReadQueryParametersByOneRule) {
    Board b(teste::no_rate_limit());
    struct Case {
        std::string target;
        int status;
    };
    const Case cases[] = {
        {"/?level=1", 200},
        {"/api/board?level=1", 200},
        {"/?level=1&level=2", 400},
        {"/api/board?level=1&level=2", 400},
        {"/?level=2&level=2", 400},
        {"/api/board?limit=5&limit=5", 400},
        {"/?lev%65l=1&level=2", 400},
        {"/api/board?lev%65l=1&level=2", 400},
        {"/?offset=0&kind=open&offset=0", 400},
        {"/api/board?kind=open&kind=ranked", 400},
        {"/?level=%zz", 400},
        {"/api/board?level=%zz", 400},
        {"/?&&level=3&", 200},
        {"/api/board?&&level=3&", 200},
    };
    for (const auto& c : cases) {
        const std::string answer = exchange(
            b.port(), "GET " + c.target + " HTTP/1.1\r\nHost: b\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(status_of(answer), c.status) << c.target;
    }
    // A run's tickets are read by the same rule.
    const std::string body = committed();
    const std::string twice =
        exchange(b.port(), "POST /api/runs?tickets=a&tickets=b HTTP/1.1\r\nHost: b\r\nConnection: "
                           "close\r\nContent-Type: text/plain\r\nContent-Length: " +
                               std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(status_of(twice), 400);
    EXPECT_NE(twice.find("more than once"), std::string::npos);
    EXPECT_EQ(b.total(), 0);
}

} // namespace
