#include "server/web_files.hpp"

#include <algorithm>
#include <system_error>

namespace board {

std::vector<std::filesystem::path> web_dir_candidates(const std::filesystem::path& executable,
                                                      const std::filesystem::path& installed) {
    const std::filesystem::path here = executable.parent_path();
    std::vector<std::filesystem::path> candidates = {
        here / "web", (here / ".." / "share" / "orbitrix" / "web").lexically_normal(), installed};
    // An install under the configured prefix names the same folder twice.
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

bool holds_web_files(const std::filesystem::path& dir) {
    std::error_code error;
    return std::filesystem::is_regular_file(dir / "orbitrix.css", error);
}

std::optional<std::filesystem::path>
find_web_dir(const std::vector<std::filesystem::path>& candidates) {
    for (const auto& dir : candidates)
        if (holds_web_files(dir))
            return dir;
    return std::nullopt;
}

} // namespace board
