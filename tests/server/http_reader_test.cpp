// The edge's request reader and connection table, over what a stranger may
// send: each request cut every way a network may cut it must read the same.
#include "server/http/connection_table.hpp"
#include "server/http/request_reader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace board::http;

BodyRule rules(std::string_view method, std::string_view target) {
    if (method == "POST" && target.starts_with("/api/runs"))
        return {1000, true};
    return {16, false};
}

struct Read {
    bool done = false;
    int refused = 0; // the status, when refused
    bool wanted_continue = false;
    std::size_t used = 0;
    Request request;
    bool keep_alive = false;
};

// Offers `bytes` in pieces of `piece`, as a connection would, keeping what
// was not used for the next offer.
Read read_in_pieces(const std::string& bytes, std::size_t piece, const EdgeLimits& limits) {
    RequestReader reader(limits, rules);
    Read out;
    std::string pending;
    std::size_t offered = 0;
    while (!reader.done() && !reader.refusal() && offered < bytes.size()) {
        const std::size_t n = std::min(piece, bytes.size() - offered);
        pending += bytes.substr(offered, n);
        offered += n;
        const std::size_t used = reader.read(pending);
        out.used += used;
        pending.erase(0, used);
        out.wanted_continue = out.wanted_continue || reader.wants_continue();
    }
    out.done = reader.done();
    if (reader.refusal())
        out.refused = reader.refusal()->status;
    if (out.done) {
        out.keep_alive = reader.keep_alive();
        out.request = reader.take();
    }
    return out;
}

TEST(RequestReader, ReadsTheSameWhateverTheCutAndRefusesAtEachLimit) {
    const std::string post = "POST /api/runs HTTP/1.1\r\nHost: b\r\n";
    const std::string second = "GET /healthz HTTP/1.1\r\nHost: b\r\n\r\n";
    std::string many_lines = "GET / HTTP/1.1\r\n";
    for (int i = 0; i < 65; ++i)
        many_lines += "X-" + std::to_string(i) + ": v\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        int refused; // 0: read whole
        std::string body;
        bool keep_alive = true;
        bool wants_continue = false;
    };
    const Case cases[] = {
        {"a GET", "GET /x?y=1 HTTP/1.1\r\nHost: b\r\n\r\n", 0, ""},
        {"a body by length", post + "Content-Length: 5\r\n\r\nhello", 0, "hello"},
        {"a chunked body",
         post + "Transfer-Encoding: chunked\r\n\r\n2\r\nhe\r\n3\r\nllo\r\n0\r\n\r\n", 0, "hello"},
        {"one that waits to be told to go on",
         post + "Content-Length: 5\r\nExpect: 100-continue\r\n\r\nhello", 0, "hello", true, true},
        {"HTTP/1.0", "GET / HTTP/1.0\r\n\r\n", 0, "", false},
        {"closing", "GET / HTTP/1.1\r\nConnection: close\r\n\r\n", 0, "", false},
        {"a body of no length where one is needed", post + "\r\n", 411, ""},
        {"a length past the route's", post + "Content-Length: 1001\r\n\r\n", 413, ""},
        {"a length past any route's", post + "Content-Length: 99999999999\r\n\r\n", 413, ""},
        {"a dropped body past its limit", "PUT / HTTP/1.1\r\nContent-Length: 17\r\n\r\n", 413, ""},
        {"chunks past the limit",
         "POST /api/tickets HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n9\r\n123456789\r\n"
         "9\r\n123456789\r\n0\r\n\r\n",
         413, ""},
        {"too many header lines", many_lines + "\r\n", 431, ""},
        {"a header past its bytes", "GET / HTTP/1.1\r\nX: " + std::string(2000, 'v') + "\r\n\r\n",
         431, ""},
        {"no request line", "HELLO\r\n\r\n", 400, ""},
        {"a control byte in the target", "GET /\x1b[2J HTTP/1.1\r\n\r\n", 400, ""},
        {"a bad chunk size", post + "Transfer-Encoding: chunked\r\n\r\nzz\r\n", 400, ""},
        {"a length and chunks both",
         post + "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n", 400, ""},
    };
    EdgeLimits limits;
    limits.header_bytes = 1024;
    for (const auto& c : cases)
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, c.bytes.size() + 1}) {
            // A request that follows on the connection is left for its turn.
            const Read read = read_in_pieces(c.bytes + second, piece, limits);
            const std::string where =
                std::string(c.what) + ", in pieces of " + std::to_string(piece);
            EXPECT_EQ(read.refused, c.refused) << where;
            if (c.refused != 0)
                continue;
            ASSERT_TRUE(read.done) << where;
            EXPECT_EQ(read.request.body, c.body) << where;
            EXPECT_EQ(read.keep_alive, c.keep_alive) << where;
            // Asked for only while the body has yet to come.
            EXPECT_EQ(read.wanted_continue, c.wants_continue && piece <= c.bytes.size()) << where;
            EXPECT_EQ(read.used, c.bytes.size()) << where;
            EXPECT_EQ(read.request.header("host").value_or("b"), "b") << where;
        }
}

TEST(ConnectionTable, BoundsEachAddressAndEveryoneTogether) {
    ConnectionTable table(4, 2);
    EXPECT_EQ(table.admit("10.0.0.1", false), std::nullopt);
    EXPECT_EQ(table.admit("10.0.0.1", false), std::nullopt);
    EXPECT_EQ(table.admit("10.0.0.1", false), 429);
    EXPECT_EQ(table.admit("10.0.0.2", false), std::nullopt);
    // A trusted proxy speaks for many: it counts only in all.
    EXPECT_EQ(table.admit("127.0.0.1", true), std::nullopt);
    EXPECT_EQ(table.admit("10.0.0.3", false), 503);
    EXPECT_EQ(table.open(), 4u);
    table.release("10.0.0.1", false);
    EXPECT_EQ(table.admit("10.0.0.1", false), std::nullopt);
    table.release("127.0.0.1", true);
    EXPECT_EQ(table.admit("127.0.0.1", true), std::nullopt);
    EXPECT_EQ(table.open(), 4u);
}

} // namespace
