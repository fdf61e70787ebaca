#include "server/http/request_shape.hpp"

#include "server/http/field_text.hpp"

namespace board::http {

std::optional<Refusal> refusal_for(const RequestShape& shape) {
    if (shape.header_lines > MOST_HEADER_LINES || shape.header_bytes > MOST_HEADER_BYTES)
        return Refusal{431, "the request's headers take more than " +
                                std::to_string(MOST_HEADER_LINES) + " lines or " +
                                std::to_string(MOST_HEADER_BYTES / 1024) + " KiB"};
    // A chunked body is counted only as it arrives, so its size is known
    // after it has been buffered: every client of this board can say the
    // length first. This holds for every method, since httplib reads the
    // body of a PUT or a DELETE too before it finds no route takes it.
    if (shape.transfer_encoding)
        return Refusal{411, "send the body with a Content-Length, not chunked"};
    // An inflated body is not bounded by the bytes on the wire.
    if (shape.content_encoding && !same_word(trimmed(*shape.content_encoding), "identity"))
        return Refusal{415, "send the body uncompressed"};
    return std::nullopt;
}

bool keeps_ranges(const RequestShape& shape) {
    return shape.ranges == 1;
}

} // namespace board::http
