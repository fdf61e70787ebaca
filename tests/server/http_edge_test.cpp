// The HTTP edge's pure pieces, each over a table of what a stranger may
// send: the client's address behind proxies, the log's escaping, the query
// string's one reader, the methods a path takes and the /static/ names.
#include "server/http/allowed_methods.hpp"
#include "server/http/client_address.hpp"
#include "server/http/log_text.hpp"
#include "server/http/query.hpp"
#include "server/http/static_path.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace board::http;

std::vector<Cidr> blocks(const std::vector<std::string>& texts) {
    std::vector<Cidr> out;
    for (const auto& text : texts) {
        const auto block = parse_cidr(text);
        EXPECT_TRUE(block) << text;
        if (block)
            out.push_back(*block);
    }
    return out;
}

TEST(ClientAddress, ReadsAddressesAndBlocksAndNormalisesV4Mapped) {
    struct Case {
        std::string text;
        std::optional<std::string> canonical; // of the block's base; none: refused
        int prefix;
    };
    const Case cases[] = {
        {"127.0.0.1", "127.0.0.1", 32},
        {"10.0.0.0/8", "10.0.0.0", 8},
        {"0.0.0.0/0", "0.0.0.0", 0},
        {"::1", "::1", 128},
        {"fd00::/8", "fd00::", 8},
        {"FD00:0:0::/16", "fd00::", 16},
        {"::ffff:127.0.0.1", "127.0.0.1", 32},
        {"::ffff:10.0.0.0/104", "10.0.0.0", 8},
        {"::ffff:10.0.0.0/95", std::nullopt, 0},
        {"10.0.0.1/8", std::nullopt, 0}, // bits past the prefix
        {"10.0.0.0/33", std::nullopt, 0},
        {"::/129", std::nullopt, 0},
        {"10.0.0.0/", std::nullopt, 0},
        {"10.0.0.0/-1", std::nullopt, 0},
        {"10.0.0.0/+8", std::nullopt, 0},
        {"10.0.0.0/08x", std::nullopt, 0},
        {"10.0.0.0/0008", std::nullopt, 0},
        {"1.2.3", std::nullopt, 0},
        {"1.2.3.4.5", std::nullopt, 0},
        {"01.2.3.4", std::nullopt, 0},
        {"256.0.0.1", std::nullopt, 0},
        {"localhost", std::nullopt, 0},
        {"[::1]", std::nullopt, 0},
        {"fe80::1%eth0", std::nullopt, 0},
        {"127.0.0.1:80", std::nullopt, 0},
        {" 127.0.0.1", std::nullopt, 0},
        {std::string("127.0.0.1\0", 10), std::nullopt, 0},
        {"", std::nullopt, 0},
        {std::string(5000, '1'), std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto block = parse_cidr(c.text);
        ASSERT_EQ(block.has_value(), c.canonical.has_value()) << c.text;
        if (block) {
            EXPECT_EQ(address_text(block->base), *c.canonical) << c.text;
            EXPECT_EQ(block->prefix, c.prefix) << c.text;
        }
    }
    EXPECT_EQ(normalised("::ffff:192.0.2.7"), "192.0.2.7");
    EXPECT_EQ(normalised("2001:DB8:0:0::1"), "2001:db8::1");
    EXPECT_EQ(normalised("not an address"), "not an address");
}

TEST(ClientAddress, MatchesBlocksOnTheirPrefixOnly) {
    struct Case {
        std::string block;
        std::string address;
        bool in;
    };
    const Case cases[] = {
        {"10.0.0.0/8", "10.255.1.2", true},
        {"10.0.0.0/8", "11.0.0.0", false},
        {"192.168.4.0/22", "192.168.7.255", true},
        {"192.168.4.0/22", "192.168.8.0", false},
        {"0.0.0.0/0", "203.0.113.9", true},
        {"0.0.0.0/0", "::1", false}, // families never match
        {"::/0", "127.0.0.1", false},
        {"::/0", "2001:db8::1", true},
        {"2001:db8::/33", "2001:db8:7fff::1", true},
        {"2001:db8::/33", "2001:db8:8000::1", false},
        {"127.0.0.1", "::ffff:127.0.0.1", true},
        {"::ffff:127.0.0.0/104", "127.9.9.9", true},
        {"127.0.0.1", "127.0.0.2", false},
    };
    for (const auto& c : cases) {
        const auto block = parse_cidr(c.block);
        const auto address = parse_address(c.address);
        ASSERT_TRUE(block && address) << c.block << " " << c.address;
        EXPECT_EQ(in_block(*block, *address), c.in) << c.block << " " << c.address;
    }
}

TEST(ClientAddress, BelievesForwardedOnlyFromTrustedPeersAndTakesTheRightmostUntrusted) {
    struct Case {
        std::vector<std::string> proxies;
        std::string peer;
        std::string forwarded;
        std::string client;
    };
    const Case cases[] = {
        // No proxy is trusted by default, loopback or not.
        {{}, "127.0.0.1", "203.0.113.5", "127.0.0.1"},
        {{}, "::ffff:127.0.0.1", "203.0.113.5", "127.0.0.1"},
        {{}, "198.51.100.2", "", "198.51.100.2"},
        // A trusted peer's header names the client.
        {{"127.0.0.1"}, "127.0.0.1", "203.0.113.5", "203.0.113.5"},
        {{"127.0.0.1"}, "::ffff:127.0.0.1", "203.0.113.5", "203.0.113.5"},
        {{"127.0.0.1"}, "127.0.0.1", " 203.0.113.5 ,\t198.51.100.7 ", "198.51.100.7"},
        {{"127.0.0.1"}, "127.0.0.1", "::ffff:203.0.113.5", "203.0.113.5"},
        {{"127.0.0.1"}, "127.0.0.1", "2001:DB8::5", "2001:db8::5"},
        {{"127.0.0.1"}, "127.0.0.2", "203.0.113.5", "127.0.0.2"},
        {{"127.0.0.1"}, "127.0.0.1", "", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", " , ", "127.0.0.1"},
        // A client's own forged entries stay left of what the proxy added.
        {{"127.0.0.1"}, "127.0.0.1", "1.1.1.1, 203.0.113.5", "203.0.113.5"},
        // Trusted hops are skipped from the right.
        {{"127.0.0.1", "10.0.0.0/8"}, "127.0.0.1", "203.0.113.5, 10.1.2.3", "203.0.113.5"},
        {{"127.0.0.1", "10.0.0.0/8"}, "127.0.0.1", "10.0.0.9, 10.1.2.3", "10.0.0.9"},
        {{"::1"}, "::1", "203.0.113.5", "203.0.113.5"},
        // Anything malformed: the peer.
        {{"127.0.0.1"}, "127.0.0.1", "203.0.113.5\n127.0.0.9", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", "unknown", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", "203.0.113.5:4711", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", "[2001:db8::5]", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", "203.0.113.5,,198.51.100.7", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", "1.1.1.1, bad, 203.0.113.5", "127.0.0.1"},
        {{"127.0.0.1"}, "127.0.0.1", std::string(8000, ','), "127.0.0.1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(client_address(c.peer, c.forwarded, blocks(c.proxies)), c.client)
            << c.peer << " [" << c.forwarded << "]";
}

TEST(LogText, EscapesEveryByteThatCouldForgeALineOrReachATerminal) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"/runs/12?level=4", "/runs/12?level=4"},
        {"", "-"},
        {"a\nb", "a\\nb"},
        {"a\r\n2026-01-01T00:00:00Z 1.2.3.4 GET / 200",
         "a\\r\\n2026-01-01T00:00:00Z\\x201.2.3.4\\x20GET\\x20/\\x20200"},
        {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        {"\x1b[2J", "\\x1b[2J"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\t\x7f", "\\t\\x7f"},
        {"back\\slash \"quoted\"", "back\\\\slash\\x20\\\"quoted\\\""},
        {"Jo\xc3\xa3o", "Jo\xc3\xa3o"}, // UTF-8 as it is
        {"\xe2\x82\xac \xf0\x9f\x9a\x80", "\xe2\x82\xac\\x20\xf0\x9f\x9a\x80"},
        {"\xc2\x9b"
         "31m",
         "\\xc2\\x9b31m"}, // C1 CSI
        {"\x9b"
         "31m",
         "\\x9b31m"},                                 // bare C1 byte
        {"Jo\xe3o", "Jo\\xe3o"},                      // code page, not UTF-8
        {"\xc0\xaf", "\\xc0\\xaf"},                   // overlong
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},          // surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"}, // past U+10FFFF
        {"\xe2\x82", "\\xe2\\x82"},                   // cut short
        {"a\xe2\x80\xae"
         "b",
         "a\\u{202e}b"}, // right-to-left override
        {"\xe2\x80\x8b\xef\xbb\xbf", "\\u{200b}\\u{feff}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(log_text(c.in), c.out) << c.in;
}

TEST(Query, OneReaderRefusesRepeatedAndBrokenParameters) {
    struct Case {
        std::string target;
        std::optional<Parameters> params; // none: refused
    };
    const Case cases[] = {
        {"/api/board", Parameters{}},
        {"/api/board?", Parameters{}},
        {"/?level=4&offset=20", Parameters{{"level", "4"}, {"offset", "20"}}},
        {"/?level=1&level=2", std::nullopt},
        {"/?level=1&level=1", std::nullopt},
        {"/?lev%65l=1&level=2", std::nullopt}, // the same name once decoded
        {"/?level", Parameters{{"level", ""}}},
        {"/?&&level=3&", Parameters{{"level", "3"}}},
        {"/?name=a+b%20c%2B", Parameters{{"name", "a b c+"}}},
        {"/?a=b=c", Parameters{{"a", "b=c"}}},
        {"/?a=%zz", std::nullopt},
        {"/?a=%4", std::nullopt},
        {"/?a=%", std::nullopt},
        {"/?a=1#level=2", Parameters{{"a", "1"}}},
        {"/?x=%00", Parameters{{"x", std::string(1, '\0')}}},
    };
    for (const auto& c : cases) {
        const auto read = read_query(query_of(c.target));
        if (!c.params) {
            ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.target;
            EXPECT_FALSE(std::get<std::string>(read).empty());
        } else {
            ASSERT_TRUE(std::holds_alternative<Parameters>(read)) << c.target;
            EXPECT_EQ(std::get<Parameters>(read), *c.params) << c.target;
        }
    }
}

TEST(AllowedMethods, NamesWhatEachKnownPathTakes) {
    struct Case {
        std::string path;
        std::optional<std::string> allow;
    };
    const Case cases[] = {
        {"/", "GET, HEAD"},
        {"/api/board", "GET, HEAD"},
        {"/api/runs", "POST"},
        {"/api/tickets", "POST"},
        {"/api/runs/12", "GET, HEAD"},
        {"/runs/12", "GET, HEAD"},
        {"/runs/12.replay", "GET, HEAD"},
        {"/runs/12.cast", "GET, HEAD"},
        {"/healthz", "GET, HEAD"},
        {"/static/orbitrix.css", "GET, HEAD"},
        {"/api/live", "GET, HEAD, POST"},
        {"/api/live/3/games", "POST"},
        {"/api/live/3/batches", "POST"},
        {"/api/live/3/stream", "GET, HEAD"},
        {"/live/3", "GET, HEAD"},
        {"/api/live/3", std::nullopt},
        {"/api/live/x/games", std::nullopt},
        {"/live/", std::nullopt},
        {"/runs/", std::nullopt},
        {"/runs/x", std::nullopt},
        {"/runs/12.exe", std::nullopt},
        {"/api/runs/", std::nullopt},
        {"/static/", std::nullopt},
        {"/nowhere", std::nullopt},
        {"/api/board/", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(allowed_methods(c.path), c.allow) << c.path;
    // The id a route reads is the one the path names, and one too large
    // for it names no route.
    EXPECT_EQ(route_of("/runs/12.cast")->place, Place::run_cast);
    EXPECT_EQ(route_of("/runs/12.cast")->id, 12);
    EXPECT_EQ(route_of("/api/runs/9223372036854775807")->id, 9223372036854775807);
    EXPECT_FALSE(route_of("/runs/9223372036854775808"));
    EXPECT_FALSE(route_of("/runs/+1"));
}

TEST(StaticPath, TakesPlainNamesOnlyFromTheRawTarget) {
    using Segments = std::vector<std::string>;
    struct Case {
        std::string target;
        std::optional<Segments> segments;
    };
    const Case cases[] = {
        {"/static/orbitrix.css", Segments{"orbitrix.css"}},
        {"/static/orbitrix.css?v=2", Segments{"orbitrix.css"}},
        {"/static/fonts/a%20b.woff2", Segments{"fonts", "a b.woff2"}},
        {"/static/", std::nullopt},
        {"/static/../secret", std::nullopt},
        {"/static/%2e%2e/secret", std::nullopt},
        {"/static/a/./b", std::nullopt},
        {"/static/a//b", std::nullopt},
        {"/static/run.js%00.css", std::nullopt},
        {"/static/a%2fb", std::nullopt},
        {"/static/a%5cb", std::nullopt},
        {"/static/a\\..\\b", std::nullopt},
        {"/static/a%0ab", std::nullopt},
        {"/static/a%zz", std::nullopt},
        {"/static/a%", std::nullopt},
        {"/static/a/b/c/d/e/f/g/h/i", std::nullopt},
        {"/elsewhere/a", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_path(c.target), c.segments) << c.target;
    EXPECT_EQ(static_content_type("orbitrix.css"), "text/css");
    EXPECT_EQ(static_content_type("run.js"), "text/javascript");
    EXPECT_EQ(static_content_type("asciinema-player.LICENSE"), "application/octet-stream");
}

} // namespace
