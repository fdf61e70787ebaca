#include "app/option_table.hpp"

#include "app/submit/server_address.hpp"
#include "app/texts.hpp"
#include "console/palette.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string>

namespace app {
namespace {

// Strings are built by appending: g++ 12 at -O3 warns falsely (-Wrestrict)
// on a literal added to a temporary string.
std::string option_name(const OptionRow& row) {
    std::string name;
    if (row.short_name != 0) {
        name += "  -";
        name += row.short_name;
        name += ", ";
    } else {
        name.append(6, ' ');
    }
    name += "--";
    name += row.long_name;
    if (!row.value_name.empty()) {
        name += ' ';
        name += row.value_name;
    }
    return name;
}

// Every description starts in one column, two spaces past the longest name.
std::string option_lines() {
    std::size_t column = 0;
    for (const OptionRow& row : option_table())
        column = std::max(column, option_name(row).size() + 2);
    std::string lines;
    for (const OptionRow& row : option_table()) {
        const std::string name = option_name(row);
        lines += name;
        lines.append(column - name.size(), ' ');
        // A help running over one line goes on under its own start.
        for (const char c : row.help) {
            lines += c;
            if (c == '\n')
                lines.append(column, ' ');
        }
        lines += '\n';
    }
    return lines;
}

std::optional<Stop> help(Options&, std::string_view) {
    return Stop{help_text(), false, 0};
}

std::optional<Stop> version(Options&, std::string_view) {
    return Stop{version_text(), false, 0};
}

std::optional<Stop> seed(Options& options, std::string_view value) {
    std::uint32_t n = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = value.empty()
                                   ? std::from_chars_result{end, std::errc::invalid_argument}
                                   : std::from_chars(value.data(), end, n);
    if (error != std::errc{} || stop != end) {
        std::string message = "option '--seed' takes a number from 0 to 4294967295, not '";
        message += value;
        message += '\'';
        return usage_error(message);
    }
    options.seed = n;
    return std::nullopt;
}

std::optional<Stop> mute(Options& options, std::string_view) {
    options.mute = true;
    return std::nullopt;
}

std::optional<Stop> arrows(Options& options, std::string_view) {
    options.arrows = true;
    return std::nullopt;
}

std::optional<Stop> palette(Options& options, std::string_view value) {
    options.palette = console::palette_named(value);
    if (options.palette)
        return std::nullopt;
    std::string message = "option '--palette' takes ";
    for (const console::PaletteName& each : console::palette_names) {
        message += each.palette == console::Palette::console ? "" : ", ";
        message += each.palette == console::Palette::mono ? "or " : "";
        message += each.name;
    }
    message += ", not '";
    message += value;
    message += '\'';
    return usage_error(message);
}

std::optional<Stop> show_scores(Options& options, std::string_view) {
    options.show_scores = true;
    return std::nullopt;
}

std::optional<Stop> record(Options& options, std::string_view value) {
    options.record = std::string(value);
    return std::nullopt;
}

std::optional<Stop> replay(Options& options, std::string_view value) {
    options.replay = std::string(value);
    return std::nullopt;
}

std::optional<Stop> verify(Options& options, std::string_view value) {
    options.verify = std::string(value);
    return std::nullopt;
}

std::optional<Stop> export_cast(Options& options, std::string_view value) {
    options.export_file = std::string(value);
    return std::nullopt;
}

std::optional<Stop> submit_file(Options& options, std::string_view value) {
    options.submit = std::string(value);
    return std::nullopt;
}

std::optional<Stop> ranked(Options& options, std::string_view) {
    options.ranked = true;
    return std::nullopt;
}

std::optional<Stop> server(Options& options, std::string_view value) {
    const std::optional<std::string> board = submit::board_address(value);
    if (board && options.server) {
        options.more_servers.push_back(*board);
        return std::nullopt;
    }
    options.server = board;
    if (!options.server) {
        std::string message = "option '--server' takes an http:// or https:// address, not '";
        message += value;
        message += '\'';
        return usage_error(message);
    }
    return std::nullopt;
}

std::optional<Stop> speed(Options& options, std::string_view value) {
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, options.speed);
    if (value.empty() || error != std::errc{} || stop != end || options.speed < 1 ||
        options.speed > 16) {
        std::string message = "option '--speed' takes a number from 1 to 16, not '";
        message += value;
        message += '\'';
        return usage_error(message);
    }
    return std::nullopt;
}

constexpr std::array table{
    OptionRow{'h', "help", "", "show this help and exit", help},
    OptionRow{'V', "version", "", "show the version and exit", version},
    OptionRow{0, "seed", "N",
              "seed the first game with N (0 to 4294967295) and each\n"
              "next game with one more, in place of the time",
              seed},
    OptionRow{0, "mute", "", "no sound; each tone waits its length in silence", mute},
    OptionRow{0, "arrows", "", "the arrow keys move like a, d, w and s", arrows},
    OptionRow{0, "palette", "NAME",
              "console (the terminal's own colours), fixed (the classic\n"
              "PC colours whatever the theme), colour-blind (no red\n"
              "against green) or mono (no colour); mono is the default\n"
              "when NO_COLOR is set or the terminal has no colours",
              palette},
    OptionRow{0, "scores", "", "show the table of the ten best games and exit", show_scores},
    OptionRow{0, "record", "FILE", "play as usual, writing the session to FILE", record},
    OptionRow{0, "replay", "FILE",
              "play the session recorded in FILE back; only Esc or\n"
              "Ctrl-C ends it",
              replay},
    OptionRow{0, "speed", "N", "with --replay: every wait N times shorter (1 to 16)", speed},
    OptionRow{0, "verify", "FILE",
              "replay FILE with no terminal and check each game's\n"
              "result",
              verify},
    OptionRow{0, "export", "FILE",
              "write FILE's session on standard output as an asciicast,\n"
              "checked as --verify checks it; FILE - reads standard\n"
              "input. A GIF of it: orbitrix --export FILE > run.cast\n"
              "&& agg run.cast run.gif",
              export_cast},
    OptionRow{0, "submit", "FILE",
              "send the session recorded in FILE to a board and show\n"
              "each game's place there",
              submit_file},
    OptionRow{0, "ranked", "",
              "play live on a board: each game on a seed the board\n"
              "deals, its keys sent as they are typed, the board\n"
              "replaying and timing them as they come; recorded too,\n"
              "to the FILE of --record or else beside the scores",
              ranked},
    OptionRow{0, "server", "URL",
              "with --submit or --ranked: the board's address (else\n"
              "ORBITRIX_SERVER); again with --ranked, a board to move\n"
              "on to when the one before stops answering",
              server},
};

} // namespace

std::span<const OptionRow> option_table() {
    return table;
}

std::string help_text() {
    return help_around(option_lines());
}

} // namespace app
