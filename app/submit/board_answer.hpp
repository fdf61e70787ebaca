#pragma once
// What a board answers to a recording sent to it, read from its JSON, and
// the lines the player reads of it. The board is a stranger: anything that
// is not the expected shape is refused whole, and names are printed only
// once they can no longer drive the terminal.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace submit {

struct BoardGame {
    std::string name;
    std::int64_t points = 0;
    int start_level = 0; // 1 to 4
    bool ranked = false;
    std::int64_t place = 0;       // among the games of every level
    std::int64_t level_place = 0; // among those started on the same level
};

struct StoredRun {
    std::int64_t id = 0;
    std::string page; // under the board's address, "/runs/12"
    std::vector<BoardGame> games;
};

std::optional<StoredRun> read_stored_run(std::string_view body);

// The reason of an error answer ({"error": "..."}), when there is one.
std::optional<std::string> read_error(std::string_view body);

enum class Arrival { stored, already_there };

// One line a game, then the run's address on the board.
std::string player_lines(const StoredRun& run, const std::string& board, Arrival arrival);

} // namespace submit
