#pragma once
// A request body as it was before its Content-Encoding, never more of it
// than a cap: a few kilobytes of gzip inflate to gigabytes, so the cap is
// checked while inflating, a chunk at a time, and not on the result.

#include "server/http/refusal.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace board::http {

// `content_encoding` is the header's value, empty when there is none.
// Taken: identity, gzip (or x-gzip) and deflate, with or without the zlib
// header, as browsers send either. Refused: more than `cap` bytes out
// (413), broken, cut short or trailed compressed data (400), any other
// coding or more than one (415).
std::variant<std::string, Refusal> inflated_body(std::string_view content_encoding,
                                                 std::string_view body, std::size_t cap);

} // namespace board::http
