// The bytes a stranger sends a connection, read by the edge's request
// reader as the network cuts them. Whatever the bytes and the cut: no crash
// or sanitizer's report; it never uses more than it was offered; a request
// it reads keeps to its route's body limit; and it refuses only with the
// statuses it is meant to.
#include "fuzz/fault.hpp"
#include "server/http/request_reader.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t POSTED = 600;
constexpr std::size_t DROPPED = 40;

board::http::BodyRule rules(std::string_view method, std::string_view target) {
    if (method == "POST" && target == "/api/runs")
        return {POSTED, true};
    return {DROPPED, false};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // The first byte is the size of the pieces the bytes come in.
    const std::size_t piece = data[0] % 32 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    board::http::EdgeLimits limits;
    limits.header_bytes = 1024;
    limits.header_lines = 16;
    board::http::RequestReader reader(limits, rules);
    std::string pending;
    std::size_t offered = 0;
    while (!reader.done() && !reader.refusal() && offered < bytes.size()) {
        const std::size_t n = std::min(piece, bytes.size() - offered);
        pending.append(bytes.substr(offered, n));
        offered += n;
        const std::size_t used = reader.read(pending);
        if (used > pending.size())
            fault("used more than it was offered");
        pending.erase(0, used);
        if (pending.size() > limits.header_bytes + 64 && !reader.header_done() && !reader.refusal())
            fault("kept a header past its limit");
    }
    if (const auto& refusal = reader.refusal()) {
        const int s = refusal->status;
        if (s != 400 && s != 411 && s != 413 && s != 431)
            fault("refused with a status of no limit");
        if (refusal->reason.empty() || refusal->reason.find('\n') != std::string::npos)
            fault("a refusal's reason is not one line");
    }
    if (reader.done()) {
        const board::http::Request request = reader.take();
        const std::size_t limit =
            request.method == "POST" && request.target == "/api/runs" ? POSTED : DROPPED;
        if (request.body.size() > limit)
            fault("a body past its route's limit was read");
        if (request.headers.size() > limits.header_lines)
            fault("more header lines than the limit were read");
    }
    return 0;
}
