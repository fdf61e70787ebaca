#pragma once
// The web folder's files, read for /static/ without following a symlink:
// not one out of the folder, and not one inside it.

#include <optional>
#include <string>
#include <vector>

namespace board {

// The bytes of the regular file `segments` names below `web_dir` (itself
// may be a link, as an installed folder can be); none when a segment is
// missing, is a symlink, or the file is not a regular file.
std::optional<std::string> read_static_file(const std::string& web_dir,
                                            const std::vector<std::string>& segments);

} // namespace board
