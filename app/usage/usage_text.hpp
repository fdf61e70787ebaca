#pragma once
// How the program names itself and says that it was called wrongly: its
// own command line and the board's address for --submit and --ranked both
// say it so. Header only, below everything else in app/.

#include <string>
#include <string_view>

namespace usage {

inline constexpr std::string_view PROGRAM = "orbitrix";

// The message, then where to read how the program is called; whole lines.
inline std::string usage_text(std::string_view message) {
    std::string text(PROGRAM);
    text += ": ";
    text += message;
    text += "\nTry '";
    text += PROGRAM;
    text += " --help'.\n";
    return text;
}

} // namespace usage
