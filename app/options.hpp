#pragma once
// What the command line can ask for: options for the session, or something
// to print and a status to exit with instead of playing.

#include "console/palette.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct Options {
    // The first game's seed, in place of the time.
    std::optional<std::uint32_t> seed;
    bool mute = false;
    // The arrow keys steer like a, d, w and s.
    bool arrows = false;
    // The colours as asked on the command line; none leaves the choice to
    // the environment.
    std::optional<console::Palette> palette = {};
    // Print the table of best scores instead of playing.
    bool show_scores = false;
    // At most one of these: a recording to write while playing, one to
    // replay on the console, or one to verify without a console.
    std::optional<std::string> record = {};
    std::optional<std::string> replay = {};
    std::optional<std::string> verify = {};
    // A recording to write as an asciicast on standard output; "-" reads
    // it from standard input.
    std::optional<std::string> export_file = {};
    // A recording to send to a board instead of playing, and the board's
    // address when given on the command line.
    std::optional<std::string> submit = {};
    std::optional<std::string> server = {};
    // --server given again: the boards a ranked session moves on to when
    // the one before stops answering.
    std::vector<std::string> more_servers = {};
    // Play on seeds a board deals and send the session to it at the end.
    bool ranked = false;
    // Divides every wait of a replay; 1 to 16.
    int speed = 1;
};

struct Stop {
    std::string text;
    bool to_stderr = false;
    int status = 0;
};

inline constexpr int STATUS_WRONG_COMMAND_LINE = 2;

} // namespace app
