#pragma once
// Where the server finds the files its pages load from /static/: the folder
// --web names, else the first of a few places a build or an install puts
// them. A folder holds them when it has the stylesheet every page links.

#include <filesystem>
#include <optional>
#include <vector>

namespace board {

// Beside the executable (a build tree, or a copy unpacked with its files),
// under the executable's prefix (bin/../share/orbitrix/web, wherever it is
// installed), then the install path the build was configured with.
std::vector<std::filesystem::path> web_dir_candidates(const std::filesystem::path& executable,
                                                      const std::filesystem::path& installed);

bool holds_web_files(const std::filesystem::path& dir);

// The first candidate that holds the files; none when no candidate does.
std::optional<std::filesystem::path>
find_web_dir(const std::vector<std::filesystem::path>& candidates);

} // namespace board
