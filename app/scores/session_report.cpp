#include "app/scores/session_report.hpp"

#include "app/scores/listing.hpp"
#include "app/scores/location.hpp"
#include "app/scores/store.hpp"

#include <algorithm>
#include <optional>
#include <ostream>

namespace scores {

void report_session(const std::vector<Entry>& played, Recording recording, std::ostream& out,
                    std::ostream& err) {
    const std::size_t with_points = static_cast<std::size_t>(
        std::count_if(played.begin(), played.end(), [](const Entry& e) { return e.points > 0; }));
    std::vector<std::optional<int>> places(played.size());
    std::optional<std::string> problem;
    if (recording == Recording::on && with_points > 0) {
        const Location location = scores_location();
        if (location.problem) {
            problem = location.problem;
        } else {
            Recorded recorded = record(location.path, played);
            places = std::move(recorded.places);
            problem = std::move(recorded.problem);
        }
    }
    for (std::size_t i = 0; i < played.size(); ++i)
        out << game_line(played[i], places[i]);
    out.flush();
    if (problem)
        err << "orbitrix: " << *problem << ", "
            << (with_points == 1 ? "this game's score was" : "these games' scores were")
            << " not recorded\n";
}

} // namespace scores
