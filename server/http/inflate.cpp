#include "server/http/inflate.hpp"

#include "server/http/field_text.hpp"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <new>
#include <stdexcept>

namespace board::http {
namespace {

// What one call to inflate may write: the most held past the cap.
constexpr std::size_t CHUNK = 16 * 1024;

// zlib's window bits: +16 reads a gzip wrapper, a negative count none.
constexpr int GZIP_WINDOW = 16 + MAX_WBITS;
constexpr int ZLIB_WINDOW = MAX_WBITS;
constexpr int RAW_WINDOW = -MAX_WBITS;

Refusal too_large(std::size_t cap) {
    return {413, "the body takes more than " + std::to_string(cap) + " bytes once decoded"};
}

Refusal broken(std::string_view coding, std::string_view what) {
    return {400, "the " + std::string(coding) + " body " + std::string(what)};
}

// RFC 1950's two header bytes: method 8 (deflate), a window zlib reads,
// and a check that makes them a multiple of 31. Raw deflate rarely passes.
bool has_zlib_header(std::string_view body) {
    if (body.size() < 2)
        return false;
    const auto cmf = static_cast<unsigned char>(body[0]);
    const auto flg = static_cast<unsigned char>(body[1]);
    return (cmf & 0x0f) == 8 && (cmf >> 4) <= 7 && (cmf * 256 + flg) % 31 == 0;
}

class Inflater {
  public:
    explicit Inflater(int window) {
        const int rc = inflateInit2(&stream_, window);
        if (rc == Z_MEM_ERROR)
            throw std::bad_alloc();
        if (rc != Z_OK)
            throw std::runtime_error("zlib refused to start inflating: " + std::to_string(rc));
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    z_stream& stream() { return stream_; }

  private:
    z_stream stream_{};
};

std::variant<std::string, Refusal> inflate_stream(std::string_view coding, int window,
                                                  std::string_view body, std::size_t cap) {
    Inflater inflater(window);
    z_stream& s = inflater.stream();
    // One byte past the cap is enough to know it is passed.
    const std::size_t most = cap == SIZE_MAX ? cap : cap + 1;
    std::array<unsigned char, CHUNK> chunk;
    std::string out;
    while (true) {
        // avail_in is 32 bits: a longer body goes in by pieces.
        if (s.avail_in == 0 && !body.empty()) {
            const std::size_t piece = std::min<std::size_t>(body.size(), UINT_MAX);
            s.next_in = reinterpret_cast<const Bytef*>(body.data());
            s.avail_in = static_cast<uInt>(piece);
            body.remove_prefix(piece);
        }
        const auto room = static_cast<uInt>(std::min(chunk.size(), most - out.size()));
        s.next_out = chunk.data();
        s.avail_out = room;
        const int rc = inflate(&s, Z_NO_FLUSH);
        out.append(reinterpret_cast<const char*>(chunk.data()), room - s.avail_out);
        if (out.size() > cap)
            return too_large(cap);
        switch (rc) {
        case Z_STREAM_END:
            // A second gzip member is trailing bytes too: no client sends one.
            if (s.avail_in != 0 || !body.empty())
                return broken(coding, "has bytes after its end");
            return out;
        case Z_OK:
            break;
        case Z_BUF_ERROR:
            // With room to write, inflate wants more than the body has.
            if (s.avail_in == 0 && body.empty())
                return broken(coding, "is cut short");
            if (s.avail_in != 0)
                return broken(coding, "is not valid compressed data");
            break;
        case Z_MEM_ERROR:
            throw std::bad_alloc();
        case Z_NEED_DICT:
            return broken(coding, "needs a preset dictionary");
        default:
            return broken(coding, "is not valid compressed data");
        }
    }
}

} // namespace

std::variant<std::string, Refusal> inflated_body(std::string_view content_encoding,
                                                 std::string_view body, std::size_t cap) {
    const std::string_view coding = trimmed(content_encoding);
    if (coding.empty() || same_word(coding, "identity")) {
        if (body.size() > cap)
            return too_large(cap);
        return std::string(body);
    }
    if (same_word(coding, "gzip") || same_word(coding, "x-gzip"))
        return inflate_stream("gzip", GZIP_WINDOW, body, cap);
    if (same_word(coding, "deflate"))
        return inflate_stream("deflate", has_zlib_header(body) ? ZLIB_WINDOW : RAW_WINDOW, body,
                              cap);
    // A list ("gzip, gzip") would have the server inflate each layer's
    // output again: one coding is all any client needs.
    return Refusal{415, "send the body with one Content-Encoding: identity, gzip or deflate"};
}

} // namespace board::http
