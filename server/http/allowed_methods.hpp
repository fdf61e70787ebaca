#pragma once
// Which methods each of the board's paths takes, so a method it does not
// take answers 405 with an Allow header, and a path it does not know 404.

#include <optional>
#include <string>
#include <string_view>

namespace board::http {

// The Allow header's value for a known path ("GET, HEAD" or "POST"); none
// for a path the board does not serve.
std::optional<std::string> allowed_methods(std::string_view path);

} // namespace board::http
