#pragma once
// What a GET with a Range header gets: one part of a large body, or the
// whole of it. One range at most is ever cut, so no request has the server
// build an answer larger than the file; small bodies are sent whole, where
// a part saves the client nothing worth a second request.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace board::http {

// Bodies of this size or less are always sent whole.
inline constexpr std::uint64_t SMALLEST_RANGED_BODY = 1024 * 1024;

// 200 with the whole body: no Range, or one the server does not honour
// (several ranges, another unit, a malformed one).
struct WholeBody {
    bool operator==(const WholeBody&) const = default;
};

// 206 with the bytes from `first` to `last`, both included.
struct PartOfBody {
    std::uint64_t first;
    std::uint64_t last;
    bool operator==(const PartOfBody&) const = default;
};

// 416, with unsatisfied_range() as the Content-Range.
struct RangeNotSatisfiable {
    bool operator==(const RangeNotSatisfiable&) const = default;
};

using RangeAnswer = std::variant<WholeBody, PartOfBody, RangeNotSatisfiable>;

// `range` is the header's value, empty when there is none.
RangeAnswer range_answer(std::string_view range, std::uint64_t size,
                         std::uint64_t smallest_ranged = SMALLEST_RANGED_BODY);

// The Content-Range values: "bytes FIRST-LAST/SIZE" and "bytes */SIZE".
std::string content_range(const PartOfBody& part, std::uint64_t size);
std::string unsatisfied_range(std::uint64_t size);

} // namespace board::http
