#pragma once
// An answer's body as a gzip stream, for a client that takes gzip.

#include <optional>
#include <string>
#include <string_view>

namespace board::http {

// At zlib's level 6, its default: most of level 9's gain for a fraction of
// its time. None when zlib cannot start, and the body then goes out as is.
std::optional<std::string> gzip_body(std::string_view body);

} // namespace board::http
