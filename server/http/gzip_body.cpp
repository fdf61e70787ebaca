#include "server/http/gzip_body.hpp"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>

namespace board::http {
namespace {

constexpr int LEVEL = 6;
constexpr int GZIP_WINDOW = 16 + MAX_WBITS;
constexpr int MEMORY_LEVEL = 8; // zlib's default

class Deflater {
  public:
    Deflater()
        : ready_(deflateInit2(&stream_, LEVEL, Z_DEFLATED, GZIP_WINDOW, MEMORY_LEVEL,
                              Z_DEFAULT_STRATEGY) == Z_OK) {}
    ~Deflater() {
        if (ready_)
            deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

  private:
    z_stream stream_{};
    bool ready_;
};

} // namespace

std::optional<std::string> gzip_body(std::string_view body) {
    Deflater deflater;
    if (!deflater.ready())
        return std::nullopt;
    z_stream& s = deflater.stream();
    std::string out;
    out.reserve(deflateBound(&s, body.size()));
    std::array<unsigned char, 16 * 1024> chunk;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        // avail_in is 32 bits: a longer body goes in by pieces.
        const std::size_t piece = std::min<std::size_t>(body.size(), UINT_MAX);
        s.next_in = reinterpret_cast<const Bytef*>(body.data());
        s.avail_in = static_cast<uInt>(piece);
        body.remove_prefix(piece);
        flush = body.empty() ? Z_FINISH : Z_NO_FLUSH;
        do {
            s.next_out = chunk.data();
            s.avail_out = static_cast<uInt>(chunk.size());
            if (deflate(&s, flush) == Z_STREAM_ERROR)
                return std::nullopt;
            out.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - s.avail_out);
        } while (s.avail_out == 0);
    }
    return out;
}

} // namespace board::http
