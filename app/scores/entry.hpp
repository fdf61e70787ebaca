#pragma once
// One game as the table of best scores keeps it.

#include <cstdint>
#include <string>

namespace scores {

enum class Ending { lost, won, left };

struct Entry {
    int points = 0;
    std::string name;    // as the game showed it, in UTF-8
    int start_level = 0; // the level key the game started with
    int level = 0;       // the level reached, as a key code
    Ending ending = Ending::left;
    std::int64_t when = 0; // seconds since the epoch, UTC

    friend bool operator==(const Entry&, const Entry&) = default;
};

} // namespace scores
