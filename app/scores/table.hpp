#pragma once
// The rules of the table: the best games by points, the earlier game first
// among equal points, and no more than ten.

#include "app/scores/entry.hpp"

#include <cstddef>
#include <optional>
#include <vector>

namespace scores {

inline constexpr std::size_t TABLE_SIZE = 10;

struct Merged {
    std::vector<Entry> table;
    // For each added game, its 1-based place in the table, when it entered.
    std::vector<std::optional<int>> places;
};

// Games without points never enter.
Merged merge(const std::vector<Entry>& table, const std::vector<Entry>& added);

} // namespace scores
