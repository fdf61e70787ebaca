#include "app/submit/ranked_command.hpp"

#include "app/scores/files.hpp"
#include "app/scores/location.hpp"
#include "common/utc_time.hpp"

#include <chrono>
#include <ostream>

namespace submit {
namespace {

std::int64_t now_seconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Beside the scores, named for the time it began; no ':' so that Windows
// takes the name too.
std::string default_recording() {
    const scores::Location scores = scores::scores_location();
    if (scores.problem)
        return {};
    const auto slash = scores.path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "." : scores.path.substr(0, slash);
    std::string stamp = common::iso_utc(now_seconds());
    for (char& c : stamp)
        if (c == ':')
            c = '-';
    return folder + (scores.path.find('\\') != std::string::npos ? "\\" : "/") + "ranked-" + stamp +
           ".replay";
}

} // namespace

std::variant<RankedStart, int> start_ranked(const std::optional<std::string>& server,
                                            const std::vector<std::string>& more_servers,
                                            const std::optional<std::string>& record,
                                            std::ostream& err) {
    std::optional<std::string> board = chosen_board(server, "--ranked", err);
    if (!board)
        return CANNOT_SEND;
    RankedStart ranked{{*board}, record.value_or(default_recording())};
    for (const std::string& more : more_servers)
        ranked.boards.push_back(more);
    if (ranked.recording.empty()) {
        err << "orbitrix: no place for the ranked session's recording: give '--record FILE'"
            << std::endl;
        return CANNOT_SEND;
    }
    if (!record)
        if (const auto problem = scores::files::make_parent_directories(ranked.recording)) {
            err << "orbitrix: " << ranked.recording << ": " << *problem << std::endl;
            return CANNOT_SEND;
        }
    return ranked;
}

} // namespace submit
