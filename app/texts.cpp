#include "app/texts.hpp"

#include "app/option_table.hpp"

#include <algorithm>

namespace app {
namespace {

constexpr std::string_view PROGRAM = "orbitrix";
constexpr std::size_t HELP_COLUMN = 20;

constexpr std::string_view ABOUT =
    "Orbitrix, an arcade shooter for the text terminal: steer your ship, shoot\n"
    "the enemy ships and meteors, dodge what falls on you. Play needs a terminal\n"
    "(or a console window) of at least 80 columns by 49 rows.\n";

constexpr std::string_view KEYS = "Keys in play:\n"
                                  "  a d w s           left, right, up, down\n"
                                  "  space             fire\n"
                                  "  b                 special shot, once charged\n"
                                  "  p                 pause; any key resumes\n"
                                  "  Esc               leave the game\n";

constexpr std::string_view EXIT_STATUS =
    "Exit status:\n"
    "  0    the help or the version was shown; --submit: the board stored the\n"
    "       recording, or had it already\n"
    "  1    cannot run: no terminal or console to play on, or TERM\n"
    "       cannot show the game; --submit: the board refused the recording,\n"
    "       or could not be reached\n"
    "  2    a wrong command line, or a recording that cannot be read\n"
    "  100  a session was played, however it ended\n";

// Strings are built by appending: g++ 12 at -O3 warns falsely (-Wrestrict)
// on a literal added to a temporary string.
std::string option_lines() {
    std::string lines;
    for (const OptionRow& row : option_table()) {
        const std::size_t start = lines.size();
        if (row.short_name != 0) {
            lines += "  -";
            lines += row.short_name;
            lines += ", ";
        } else {
            lines.append(6, ' ');
        }
        lines += "--";
        lines += row.long_name;
        if (!row.value_name.empty()) {
            lines += ' ';
            lines += row.value_name;
        }
        lines.append(std::max(start + HELP_COLUMN, lines.size() + 2) - lines.size(), ' ');
        // A help running over one line goes on under its own start.
        for (const char c : row.help) {
            lines += c;
            if (c == '\n')
                lines.append(HELP_COLUMN, ' ');
        }
        lines += '\n';
    }
    return lines;
}

} // namespace

std::string help_text() {
    std::string help = "Usage: ";
    help += PROGRAM;
    help += " [OPTION]...\n";
    help += ABOUT;
    help += "\nOptions:\n";
    help += option_lines();
    help += '\n';
    help += KEYS;
    help += '\n';
    help += EXIT_STATUS;
    help += "\nMore in the manual: man 6 ";
    help += PROGRAM;
    help += '\n';
    return help;
}

std::string version_text() {
    std::string version(PROGRAM);
    version += " " ORBITRIX_VERSION "\n";
    return version;
}

Stop usage_error(std::string_view message) {
    std::string text(PROGRAM);
    text += ": ";
    text += message;
    text += "\nTry '";
    text += PROGRAM;
    text += " --help'.\n";
    return Stop{text, true, STATUS_WRONG_COMMAND_LINE};
}

} // namespace app
