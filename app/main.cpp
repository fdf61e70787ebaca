#include "app/command_line.hpp"
#include "app/play.hpp"
#include "app/scores/collector.hpp"
#include "app/scores/scores_command.hpp"
#include "app/scores/session_report.hpp"
#include "console/native.hpp"
#include "game/exigencias.hpp"

#include <cstdio>
#include <iostream>
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
    if (options.show_scores)
        return scores::print_scores(std::cout, std::cerr);

    std::vector<scores::Entry> played;
    const console::NativeOutcome outcome = console::run_on_native_console(
        game::exigencias_do_console(),
        [&options, &played](console::ScreenBuffer& screen, console::Platform& platform) {
            // The machine's own platform, under every decorator, keeps the
            // table's clock true when --seed answers the game's with a seed.
            scores::Collector collector(platform, played);
            return app::play(options, screen, platform, collector);
        });
    if (outcome.problem != console::NativeProblem::none)
        std::fprintf(stderr, "orbitrix: %s\n", outcome.detail.c_str());
    // The terminal is given back by now, on every ending.
    scores::report_session(played, scores::Recording::on, std::cout, std::cerr);
    return outcome.status;
}
