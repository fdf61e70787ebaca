#pragma once
// What the server refuses of a request from its headers alone, before it
// reads a byte of the body or builds an answer: more header than any
// browser sends, bodies it would have to buffer or inflate without knowing
// their size first, and range requests that would have it build an answer
// many times the size of the file.

#include "server/http/refusal.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace board::http {

// What a request's line and headers may take, together.
inline constexpr std::size_t MOST_HEADER_BYTES = 8 * 1024;
inline constexpr std::size_t MOST_HEADER_LINES = 64;

struct RequestShape {
    std::string_view method;
    std::size_t header_bytes = 0; // the request line and every header line
    std::size_t header_lines = 0;
    std::optional<std::string_view> transfer_encoding;
    std::optional<std::string_view> content_encoding;
    std::size_t ranges = 0; // byte ranges the Range header names
};

// None when the request may go on to its route.
std::optional<Refusal> refusal_for(const RequestShape& shape);

// A Range header is honoured only when it names one range: with more, the
// answer is the whole file with 200, never a part built per range.
bool keeps_ranges(const RequestShape& shape);

} // namespace board::http
