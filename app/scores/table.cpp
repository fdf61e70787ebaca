#include "app/scores/table.hpp"

#include <algorithm>

namespace scores {
namespace {

struct Candidate {
    Entry entry;
    std::optional<std::size_t> added; // which added game, if it is one
};

} // namespace

Merged merge(const std::vector<Entry>& table, const std::vector<Entry>& added) {
    std::vector<Candidate> all;
    for (const Entry& e : table)
        all.push_back({e, std::nullopt});
    for (std::size_t i = 0; i < added.size(); ++i)
        if (added[i].points > 0)
            all.push_back({added[i], i});
    // Stable, so a game already kept stays ahead of a new one of the same
    // points and second.
    std::stable_sort(all.begin(), all.end(), [](const Candidate& a, const Candidate& b) {
        if (a.entry.points != b.entry.points)
            return a.entry.points > b.entry.points;
        return a.entry.when < b.entry.when;
    });
    if (all.size() > TABLE_SIZE)
        all.resize(TABLE_SIZE);

    Merged merged{{}, std::vector<std::optional<int>>(added.size())};
    for (std::size_t place = 0; place < all.size(); ++place) {
        if (all[place].added)
            merged.places[*all[place].added] = static_cast<int>(place) + 1;
        merged.table.push_back(std::move(all[place].entry));
    }
    return merged;
}

} // namespace scores
