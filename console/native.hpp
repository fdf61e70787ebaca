#pragma once
// Runs a session on the machine's own console: the terminal on POSIX, the
// console window on Windows. The console is set up before and restored after,
// on every ending. Nothing is printed here: the outcome says how it went, and
// the program says so in its own words.

#include "console/palette.hpp"
#include "console/platform.hpp"
#include "console/screen_buffer.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace console {

struct Size {
    int columns = 0;
    int rows = 0;
    friend bool operator==(Size, Size) = default;
};

// What the session asks of the console.
struct NativeNeeds {
    // The smallest window its screens fit in. A terminal smaller than this
    // pauses the session behind the size notice until it grows; a Windows
    // console is taken at the size it has.
    Size least;
    // The notice's paragraphs for a terminal of size `have`; each is
    // word-wrapped to the terminal's width.
    std::function<std::vector<std::string>(Size have, Size least)> size_notice;
    // The palette the player asked for; none leaves the choice to the
    // environment (NO_COLOR, a terminal without colours).
    std::optional<Palette> palette = {};
};

enum class NativeProblem {
    none,
    no_console,     // standard input or output is not a console
    unfit_terminal, // a console the session cannot be shown on; the detail
                    // names it as the environment does ("TERM=dumb")
    failed,         // an error stopped the session
};

struct NativeOutcome {
    // The session's own, 100 when a signal or a vanished terminal cut it
    // short, 1 with a problem.
    int status = 0;
    NativeProblem problem = NativeProblem::none;
    // For a problem, what went wrong, in English, to follow the program's
    // name on a line of its own.
    std::string detail;
};

// Given the console's screen and platform, which it installs itself (under
// decorators of its own, if it likes); returns the exit status.
using NativeSession = std::function<int(ScreenBuffer&, Platform&)>;

// Returns once the console is given back, so the caller can go on with it.
NativeOutcome run_on_native_console(const NativeNeeds& needs, const NativeSession& session);

// Thrown from a wait point when the session must end at once (a signal, the
// terminal gone). The native runner catches it; game code never needs to.
struct SessionEnded {
    int status = 100;
};

} // namespace console
