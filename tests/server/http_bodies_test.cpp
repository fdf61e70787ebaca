// The HTTP edge's bodies, over tables of what a stranger may send: request
// bodies inflated under a cap, the one byte range honoured, and answers
// gzipped for the clients that take gzip.
#include "server/http/accept_encoding.hpp"
#include "server/http/byte_range.hpp"
#include "server/http/gzip_body.hpp"
#include "server/http/inflate.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>

namespace {

// The largest single allocation while a bomb is read: the one way to see
// that the inflater stops at the cap rather than measure all it inflated.
thread_local bool watching = false;
thread_local std::size_t largest = 0;

} // namespace

void* operator new(std::size_t size) {
    if (watching)
        largest = std::max(largest, size);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace board::http;

// By zlib itself, apart from gzip_body: window 31 is gzip, 15 the zlib
// wrapper, -15 raw deflate.
std::string compressed(const std::string& text, int window) {
    z_stream s{};
    EXPECT_EQ(deflateInit2(&s, 9, Z_DEFLATED, window, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&s, text.size()), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    s.avail_in = static_cast<uInt>(text.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

const std::string TEXT = "João's run: 12 levels, 3 lives left, 48210 points.\n";
const std::string GZIP = compressed(TEXT, 31);
const std::string ZLIB = compressed(TEXT, 15);
const std::string RAW = compressed(TEXT, -15);

TEST(InflatedBody, TakesOneKnownCodingAndRefusesBrokenData) {
    struct Case {
        const char* what;
        std::string coding;
        std::string body;
        int status; // 0: TEXT comes out
    };
    std::string bad_crc = GZIP;
    bad_crc[bad_crc.size() - 8] ^= 1;
    const Case cases[] = {
        {"gzip", "gzip", GZIP, 0},
        {"names without case, spaces around", " X-GZip ", GZIP, 0},
        {"deflate with the zlib header", "deflate", ZLIB, 0},
        {"deflate without it, as old browsers send", "Deflate", RAW, 0},
        {"no coding", "", TEXT, 0},
        {"identity", "identity", TEXT, 0},
        {"gzip cut in its trailer", "gzip", GZIP.substr(0, GZIP.size() - 3), 400},
        {"gzip cut in its data", "gzip", GZIP.substr(0, GZIP.size() / 2), 400},
        {"an empty gzip body", "gzip", "", 400},
        {"gzip with a wrong CRC", "gzip", bad_crc, 400},
        {"gzip then garbage", "gzip", GZIP + "x", 400},
        {"a second gzip member", "gzip", GZIP + GZIP, 400},
        {"raw deflate then a NUL", "deflate", RAW + std::string(1, '\0'), 400},
        {"zlib data sent as gzip", "gzip", ZLIB, 400},
        {"brotli", "br", GZIP, 415},
        {"two layers", "gzip, gzip", compressed(GZIP, 31), 415},
    };
    for (const auto& c : cases) {
        const auto result = inflated_body(c.coding, c.body, 1024);
        if (c.status == 0) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.what;
            EXPECT_EQ(std::get<std::string>(result), TEXT) << c.what;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Refusal>(result)) << c.what;
        const auto& refusal = std::get<Refusal>(result);
        EXPECT_EQ(refusal.status, c.status) << c.what << ": " << refusal.reason;
        EXPECT_EQ(refusal.reason.find('\n'), std::string::npos) << c.what;
        if (c.status == 415) {
            EXPECT_NE(refusal.reason.find("gzip"), std::string::npos) << refusal.reason;
        }
    }
}

TEST(InflatedBody, StopsAtTheCapWhateverTheCoding) {
    // Past the inflater's own chunk, so the cap falls inside a later one.
    std::string large(100 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>('a' + (i * 7919 + i / 13) % 26);
    const std::pair<const char*, std::string> cases[] = {
        {"", large},
        {"gzip", compressed(large, 31)},
        {"deflate", compressed(large, 15)},
        {"deflate", compressed(large, -15)},
    };
    for (const auto& [coding, body] : cases) {
        const auto exact = inflated_body(coding, body, large.size());
        ASSERT_TRUE(std::holds_alternative<std::string>(exact)) << coding;
        EXPECT_EQ(std::get<std::string>(exact), large) << coding;
        const auto over = inflated_body(coding, body, large.size() - 1);
        ASSERT_TRUE(std::holds_alternative<Refusal>(over)) << coding;
        EXPECT_EQ(std::get<Refusal>(over).status, 413) << coding;
        EXPECT_NE(std::get<Refusal>(over).reason.find(std::to_string(large.size() - 1)),
                  std::string::npos)
            << std::get<Refusal>(over).reason;
    }
}

TEST(InflatedBody, RefusesAGzipBombWithoutInflatingIt) {
    const std::string bomb = compressed(std::string(10 * 1024 * 1024, '\0'), 31);
    ASSERT_LT(bomb.size(), 20u * 1024); // a thousand to one
    for (const std::size_t cap : {std::size_t{0}, std::size_t{1}, std::size_t{1024 * 1024}}) {
        largest = 0;
        watching = true;
        const auto result = inflated_body("gzip", bomb, cap);
        watching = false;
        // A string grows by doubling: twice the cap and a chunk at most.
        EXPECT_LE(largest, 2 * cap + 64 * 1024) << cap;
        ASSERT_TRUE(std::holds_alternative<Refusal>(result)) << cap;
        EXPECT_EQ(std::get<Refusal>(result).status, 413);
    }
}

TEST(RangeAnswer, CutsOneRangeOfALargeBodyAndSendsTheRestWhole) {
    constexpr std::uint64_t SIZE = 2 * 1024 * 1024;
    struct Case {
        std::string range;
        std::uint64_t size;
        RangeAnswer answer;
    };
    const Case cases[] = {
        {"bytes=0-99", SIZE, PartOfBody{0, 99}},
        {"bytes=100-", SIZE, PartOfBody{100, SIZE - 1}},
        {"bytes=-500", SIZE, PartOfBody{SIZE - 500, SIZE - 1}},
        {"bytes=-5000000", SIZE, PartOfBody{0, SIZE - 1}},
        {"bytes=10-99999999", SIZE, PartOfBody{10, SIZE - 1}},
        {"bytes=0-18446744073709551615", SIZE, PartOfBody{0, SIZE - 1}},
        {"Bytes=0-99", SIZE, PartOfBody{0, 99}},
        {" bytes= 0-99 ", SIZE, PartOfBody{0, 99}},
        {"bytes=,\t0-99 ,", SIZE, PartOfBody{0, 99}}, // empty list elements
        {"bytes=0-99", SIZE / 2 + 1, PartOfBody{0, 99}},
        {"bytes=0-99", SIZE / 2, WholeBody{}}, // small: sent whole
        {"bytes=2097152-", SIZE, RangeNotSatisfiable{}},
        {"bytes=-0", SIZE, RangeNotSatisfiable{}},
        {"", SIZE, WholeBody{}},
        {"bytes=0-1,5-9", SIZE, WholeBody{}},
        {"bytes=-1, -1", SIZE, WholeBody{}},
        {"bytes=0-18446744073709551616", SIZE, WholeBody{}},
        {"bytes=18446744073709551616-", SIZE, WholeBody{}},
        {"bytes=99-0", SIZE, WholeBody{}},
        {"bytes=-", SIZE, WholeBody{}},
        {"bytes=,", SIZE, WholeBody{}},
        {"bytes=0 - 99", SIZE, WholeBody{}},
        {"bytes=+0-99", SIZE, WholeBody{}},
        {"bytes 0-99", SIZE, WholeBody{}},
        {"items=0-99", SIZE, WholeBody{}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(range_answer(c.range, c.size) == c.answer) << c.range;
    EXPECT_TRUE(range_answer("bytes=0-0", 2, 1) == RangeAnswer(PartOfBody{0, 0}));
    EXPECT_EQ(content_range({0, 99}, SIZE), "bytes 0-99/2097152");
    EXPECT_EQ(unsatisfied_range(SIZE), "bytes */2097152");
}

TEST(AcceptsGzip, ReadsEachCodingsWeight) {
    const std::pair<const char*, bool> cases[] = {
        {"gzip, deflate, br, zstd", true}, // what Chromium sends
        {"GZIP", true},
        {"x-gzip", true},
        {"deflate ,\tgzip ;q=0.5", true},
        {"gzip;Q=1.000", true},
        {"gzip;q=0.001", true},
        {"gzip;q=1.", true},
        {"gzip;q=0.5;level=9", true},
        {"br, *", true},
        {"*;q=0, gzip", true},
        {"gzip;q=0", false},
        {"gzip; q=0.000", false},
        {"gzip;q=0, *", false}, // named itself, it counts before *
        {"gzip, gzip;q=0", false},
        {"*;q=0", false},
        {"", false},
        {"deflate, br", false},
        {"gzipped", false},
        {"gzip;q=2", false}, // broken weights: not there
        {"gzip;q=1.5", false},
        {"gzip;q=01", false},
        {"gzip;q=0.0001", false},
        {"gzip;q=abc, *;q=0", false},
    };
    for (const auto& [header, gzip] : cases)
        EXPECT_EQ(accepts_gzip(header), gzip) << header;
}

TEST(WorthCompressing, TextLikeBodiesAboveAKibibyte) {
    EXPECT_TRUE(worth_compressing("text/html; charset=utf-8", 1025));
    EXPECT_TRUE(worth_compressing("Text/CSS", 5000));
    EXPECT_TRUE(worth_compressing("application/json", 5000));
    EXPECT_TRUE(worth_compressing("application/x-asciicast", 5000));
    EXPECT_FALSE(worth_compressing("text/html", 1024));
    EXPECT_FALSE(worth_compressing("image/png", 5000));
    EXPECT_FALSE(worth_compressing("application/jsonx", 5000));
    EXPECT_FALSE(worth_compressing("text/", 5000));
}

TEST(GzipBody, InflatesBackToTheSameBytes) {
    std::string binary(70 * 1024, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (const std::string& body : {std::string(), TEXT, std::string(300000, 'a'), binary}) {
        const auto gzipped = gzip_body(body);
        ASSERT_TRUE(gzipped) << body.size();
        EXPECT_EQ(gzipped->substr(0, 2), "\x1f\x8b");
        const auto back = inflated_body("gzip", *gzipped, body.size());
        ASSERT_TRUE(std::holds_alternative<std::string>(back)) << std::get<Refusal>(back).reason;
        EXPECT_EQ(std::get<std::string>(back), body);
    }
}

} // namespace
