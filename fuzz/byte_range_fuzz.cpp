// A Range header a stranger sends, on a body of a size it picks: the first
// eight bytes are the size (little-endian), the ninth's low bit ranges
// every size rather than only large ones, the rest is the header. Whatever
// the bytes, no crash or sanitizer's report; a part is one range inside
// the body, never of a body at or under the threshold, and its
// Content-Range names it.
#include "fuzz/fault.hpp"
#include "server/http/byte_range.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace board::http;
    if (size < 9)
        return 0;
    std::uint64_t body_size = 0;
    for (int i = 7; i >= 0; --i)
        body_size = body_size << 8 | data[i];
    const std::uint64_t threshold = (data[8] & 1) != 0 ? 0 : SMALLEST_RANGED_BODY;
    const std::string_view range(reinterpret_cast<const char*>(data) + 9, size - 9);

    const auto answer = range_answer(range, body_size, threshold);
    if (const auto* part = std::get_if<PartOfBody>(&answer)) {
        if (body_size <= threshold)
            fault("a part of a body sent whole");
        if (part->first > part->last || part->last >= body_size)
            fault("a part outside the body");
        const std::string header = content_range(*part, body_size);
        if (header != "bytes " + std::to_string(part->first) + "-" + std::to_string(part->last) +
                          "/" + std::to_string(body_size))
            fault("a Content-Range that names another part");
    } else if (std::holds_alternative<RangeNotSatisfiable>(answer)) {
        if (body_size <= threshold)
            fault("a 416 for a body sent whole");
        if (unsatisfied_range(body_size) != "bytes */" + std::to_string(body_size))
            fault("a 416's Content-Range that names another size");
    }
    return 0;
}
