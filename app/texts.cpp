#include "app/texts.hpp"

#include "app/usage/usage_text.hpp"

namespace app {
namespace {

using usage::PROGRAM;

constexpr std::string_view ABOUT =
    "Orbitrix, an arcade shooter for the text terminal: steer your ship, shoot\n"
    "the enemy ships and meteors, dodge what falls on you. Play needs a terminal\n"
    "(or a console window) of at least 80 columns by 49 rows.\n";

constexpr std::string_view KEYS = "Keys in play:\n"
                                  "  a d w s           left, right, up, down\n"
                                  "  arrow keys        the same, with --arrows\n"
                                  "  space             fire\n"
                                  "  b                 special shot, once charged\n"
                                  "  p                 pause; any key resumes\n"
                                  "  Esc               leave the game\n";

constexpr std::string_view EXIT_STATUS =
    "Exit status:\n"
    "  0    the help, the version or the table of scores was shown; --verify\n"
    "       found every game as recorded; --submit: the board stored the\n"
    "       recording, or had it already\n"
    "  1    cannot run: no terminal or console to play on, or TERM cannot show\n"
    "       the game; a table of scores that cannot be read; --verify or\n"
    "       --export found a game that differs, or a recording cut short;\n"
    "       --submit: the board refused the recording, or could not be reached;\n"
    "       --ranked: the board dealt no first ticket, or the session could\n"
    "       not be sent (it is kept, with the line that sends it later)\n"
    "  2    a wrong command line, or a recording that cannot be read or written\n"
    "  100  a session was played, however it ended\n";

} // namespace

std::string help_around(std::string_view option_lines) {
    std::string help = "Usage: ";
    help += PROGRAM;
    help += " [OPTION]...\n";
    help += ABOUT;
    help += "\nOptions:\n";
    help += option_lines;
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
    return Stop{usage::usage_text(message), true, STATUS_WRONG_COMMAND_LINE};
}

} // namespace app
