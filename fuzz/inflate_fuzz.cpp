// A request body a stranger sends, with a Content-Encoding: the first byte
// picks the coding (its low two bits) and a small cap (the rest), the other
// bytes are the body. Whatever the bytes, no crash or sanitizer's report;
// nothing longer than the cap comes out, identity is the body itself, a
// refusal is one of the three statuses with a one-line reason, and what
// inflated gzips back to itself.
#include "fuzz/fault.hpp"
#include "server/http/gzip_body.hpp"
#include "server/http/inflate.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 4> CODINGS = {"", "gzip", "deflate", "x-gzip, gzip"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace board::http;
    if (size == 0)
        return 0;
    const std::string_view coding = CODINGS[data[0] & 3];
    const std::size_t cap = static_cast<std::size_t>(data[0] >> 2) * 512; // up to 31.5 KiB
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);

    const auto result = inflated_body(coding, body, cap);
    if (const auto* refusal = std::get_if<Refusal>(&result)) {
        if (refusal->status != 400 && refusal->status != 413 && refusal->status != 415)
            fault("a refusal of another status");
        if (refusal->reason.empty() || refusal->reason.find('\n') != std::string::npos)
            fault("a reason not on one line");
        if ((refusal->status == 415) != (coding == CODINGS[3]))
            fault("a coding list taken, or one coding refused as unknown");
        return 0;
    }
    const std::string& out = std::get<std::string>(result);
    if (out.size() > cap)
        fault("more out than the cap");
    if (coding.empty() && out != body)
        fault("an identity body changed");
    if (const auto again = gzip_body(out)) {
        const auto back = inflated_body("gzip", *again, out.size());
        if (!std::holds_alternative<std::string>(back) || std::get<std::string>(back) != out)
            fault("a body gzipped does not inflate back to itself");
    }
    return 0;
}
