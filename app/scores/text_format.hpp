#pragma once
// The table's file: a first line naming the format and its version, then
// one game a line, its fields separated by tabs:
//   points, name, starting level key, level reached, ending, date
// Levels are key codes in decimal; the ending is lost, won or left; the date
// is ISO 8601 in UTC. In the name a backslash, tab, newline and every other
// control byte are escaped (\\ \t \n \r \xHH), so no name can break a line
// or a column; other bytes stand as typed.

#include "app/scores/entry.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scores {

inline constexpr std::string_view FORMAT_HEADER = "orbitrix scores 1";

std::string to_text(const std::vector<Entry>& table);

struct Flaw {
    int line = 0;               // 1-based
    bool later_version = false; // a header of a version after this one
};

struct Parsed {
    std::vector<Entry> table;
    std::optional<Flaw> flaw; // set when any line is not understood
};

Parsed from_text(std::string_view text);

} // namespace scores
