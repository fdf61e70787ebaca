#include "app/scores/scores_command.hpp"

#include "app/scores/listing.hpp"
#include "app/scores/location.hpp"
#include "app/scores/store.hpp"

#include <ostream>

namespace scores {

int print_scores(std::ostream& out, std::ostream& err) {
    const Location location = scores_location();
    if (location.problem) {
        err << "orbitrix: " << *location.problem << '\n';
        return 1;
    }
    const Loaded loaded = load(location.path);
    if (loaded.problem) {
        err << "orbitrix: " << *loaded.problem << '\n';
        return 1;
    }
    out << listing(loaded.table);
    return out.flush() ? 0 : 1;
}

} // namespace scores
