#pragma once
// Whether an answer goes out gzipped: when the client takes gzip and the
// body is of a kind that shrinks, large enough to gain more than the
// Content-Encoding and the CPU cost.

#include <cstddef>
#include <string_view>

namespace board::http {

// Bodies of this size or less go out as they are.
inline constexpr std::size_t SMALLEST_GZIPPED_BODY = 1024;

// True when the Accept-Encoding value takes gzip (or x-gzip, or "*") with a
// weight above 0. A coding named itself counts before "*"; an element with
// a broken weight counts as not there.
bool accepts_gzip(std::string_view accept_encoding);

// Text, JSON, scripts, SVG and asciicast recordings, over the smallest
// size: images and fonts are compressed already.
bool worth_compressing(std::string_view content_type, std::size_t size);

} // namespace board::http
