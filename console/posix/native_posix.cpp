// A session on the terminal the program was started from.
#include "console/ansi/ansi_colours.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"
#include "console/palette.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/terminal_description.hpp"
#include "console/posix/terminal_modes.hpp"
#include "console/posix/terminal_platform.hpp"

#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

namespace console {
namespace {

NativeOutcome finished(int status) {
    return NativeOutcome{status, NativeProblem::none, {}};
}

NativeOutcome problem(NativeProblem what, std::string detail) {
    return NativeOutcome{1, what, std::move(detail)};
}

// A terminal that cannot place the cursor; every other TERM is taken as
// ANSI. Named as the environment has it, for the caller's message.
std::optional<std::string> unfit_term() {
    const char* term = std::getenv("TERM");
    if (term == nullptr)
        return "TERM unset";
    const std::string_view name = term;
    if (name.empty() || name == "dumb")
        return "TERM=" + std::string(name);
    return std::nullopt;
}

// The colours as the player, the environment and the terminal's entry ask.
ansi::Colours colours_for(std::optional<Palette> asked, int terminal_colours) {
    return ansi::Colours{palette_for(asked, std::getenv("NO_COLOR"), terminal_colours),
                         ansi::says_truecolour(std::getenv("COLORTERM"))};
}

} // namespace

NativeOutcome run_on_native_console(const NativeNeeds& needs, const NativeSession& session) {
    if (std::optional<std::string> term = unfit_term())
        return problem(NativeProblem::unfit_terminal, *std::move(term));
    termios found{};
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO) || tcgetattr(STDIN_FILENO, &found) != 0)
        return problem(NativeProblem::no_console, "needs a terminal on standard input and output");
    // Over ssh a tone would sound at the far end, for nobody.
    const bool sound = std::getenv("SSH_CONNECTION") == nullptr;
    const ansi::TerminalTraits traits =
        posix::terminal_traits(posix::read_terminfo(std::getenv("TERM")), posix::locale_charset());
    try {
        posix::SignalWatch signals;
        posix::RawTerminal terminal(STDIN_FILENO, STDOUT_FILENO, found);
        signals.restore_on_crash(STDOUT_FILENO, STDIN_FILENO, posix::leave_sequence(), found);
        CellScreen model;
        posix::TerminalPlatform platform(terminal, signals, model, needs, sound, traits,
                                         colours_for(needs.palette, traits.colours));
        const int status = session(model, platform);
        platform.flush(); // the last frame, before the screen is left
        return finished(status);
    } catch (const SessionEnded& ended) {
        return finished(ended.status);
    } catch (const std::exception& e) {
        return problem(NativeProblem::failed, e.what());
    } catch (...) {
        return problem(NativeProblem::failed, "stopped by an unknown error");
    }
}

} // namespace console
