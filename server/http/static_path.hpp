#pragma once
// The file a /static/ request names, read from the raw request target
// before anything decodes it: a plain name of the web folder's own, or none
// (404). Names with an encoded NUL, a "." or ".." segment, a backslash or a
// control byte are none; the folder's symlinks are refused where the file
// is opened (static_files.cpp).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board::http {

// The path's segments below /static/, each percent-decoded; `target` is
// the raw target, its query string ignored.
std::optional<std::vector<std::string>> static_path(std::string_view target);

// The Content-Type of a file the web folder serves, by its name's ending.
std::string static_content_type(std::string_view name);

} // namespace board::http
