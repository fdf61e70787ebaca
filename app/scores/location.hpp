#pragma once
// Where the table lives: ORBITRIX_SCORES when set; otherwise the account's
// data directory ($XDG_DATA_HOME/orbitrix/scores or
// ~/.local/share/orbitrix/scores on POSIX, %LOCALAPPDATA%\Orbitrix\scores on
// Windows).

#include <optional>
#include <string>

namespace scores {

struct Location {
    std::string path;
    std::optional<std::string> problem; // no place could be found
};

Location scores_location();

// The rules alone, from the variables' values.
std::optional<std::string> posix_scores_path(const std::optional<std::string>& override_path,
                                             const std::optional<std::string>& xdg_data_home,
                                             const std::optional<std::string>& home);
std::optional<std::string> windows_scores_path(const std::optional<std::string>& override_path,
                                               const std::optional<std::string>& local_app_data);

} // namespace scores
