#include "app/command_line.hpp"
#include "app/play.hpp"
#include "console/native.hpp"
#include "game/exigencias.hpp"

#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const app::Parsed parsed = app::parse_command_line(args);
    if (const auto* stop = std::get_if<app::Stop>(&parsed)) {
        std::FILE* to = stop->to_stderr ? stderr : stdout;
        // A help that cannot be written (a full disk, a closed pipe) is a failure.
        if (std::fputs(stop->text.c_str(), to) == EOF || std::fflush(to) != 0)
            return 1;
        return stop->status;
    }
    const app::Options options = std::get<app::Options>(parsed);
    const console::NativeOutcome outcome = console::run_on_native_console(
        game::exigencias_do_console(),
        [&options](console::ScreenBuffer& screen, console::Platform& platform) {
            return app::play(options, screen, platform);
        });
    if (outcome.problem != console::NativeProblem::none)
        std::fprintf(stderr, "orbitrix: %s\n", outcome.detail.c_str());
    return outcome.status;
}
