#include "app/scores/location.hpp"

#include "app/scores/files.hpp"

namespace scores {
namespace {

bool given(const std::optional<std::string>& value) {
    return value && !value->empty();
}

} // namespace

std::optional<std::string> posix_scores_path(const std::optional<std::string>& override_path,
                                             const std::optional<std::string>& xdg_data_home,
                                             const std::optional<std::string>& home) {
    if (given(override_path))
        return override_path;
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (given(xdg_data_home) && xdg_data_home->front() == '/')
        return *xdg_data_home + "/orbitrix/scores";
    if (given(home))
        return *home + "/.local/share/orbitrix/scores";
    return std::nullopt;
}

std::optional<std::string> windows_scores_path(const std::optional<std::string>& override_path,
                                               const std::optional<std::string>& local_app_data) {
    if (given(override_path))
        return override_path;
    if (given(local_app_data))
        return *local_app_data + "\\Orbitrix\\scores";
    return std::nullopt;
}

Location scores_location() {
    const auto override_path = files::environment("ORBITRIX_SCORES");
#ifdef _WIN32
    const auto path = windows_scores_path(override_path, files::environment("LOCALAPPDATA"));
    constexpr const char* missing = "no place for the scores: LOCALAPPDATA is not set";
#else
    auto home = files::environment("HOME");
    if (!given(home))
        home = files::account_home();
    const auto path = posix_scores_path(override_path, files::environment("XDG_DATA_HOME"), home);
    constexpr const char* missing = "no place for the scores: HOME is not set";
#endif
    if (!path)
        return {{}, missing};
    return {*path, std::nullopt};
}

} // namespace scores
