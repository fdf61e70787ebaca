#include "app/command_line.hpp"
#include "app/play.hpp"
#include "app/replay/commands.hpp"
#include "app/scores/collector.hpp"
#include "app/scores/scores_command.hpp"
#include "app/scores/session_report.hpp"
#include "app/submit/ranked_command.hpp"
#include "console/interrupt_hold.hpp"
#include "console/native.hpp"
#include "console/standard_text.hpp"
#include "game/exigencias.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace {

constexpr int REFUSED_FILE = 2;

int run(int argc, char** argv) {
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
    // Names are UTF-8 as typed, and a console must show them as such.
    console::StandardText out(console::Standard::output);
    console::StandardText err(console::Standard::error);
    if (options.show_scores)
        return scores::print_scores(out, err);
    if (options.verify)
        return replay::verify_file(*options.verify);
    if (options.export_file)
        return replay::export_file(*options.export_file, out);
    if (options.submit)
        return submit::submit_file(*options.submit, options.server, out, err);

    // A ranked session is open on a board before the terminal is touched.
    std::optional<submit::RankedStart> ranked;
#ifdef ORBITRIX_LIVE
    std::unique_ptr<live::Session> live_session;
#endif
    if (options.ranked) {
        auto started =
            submit::start_ranked(options.server, options.more_servers, options.record, err);
        if (const int* status = std::get_if<int>(&started))
            return *status;
        ranked = std::get<submit::RankedStart>(std::move(started));
#ifdef ORBITRIX_LIVE
        live_session =
            live::Session::open(ranked->boards, live::post_to_board, live::steady_ms, err);
        if (!live_session)
            return submit::NOT_STORED;
#endif
    }

    // Files are opened, or refused, before the terminal is touched.
    std::optional<replay::Recording> replaying;
    if (options.replay && !(replaying = replay::load_or_refuse(*options.replay)))
        return REFUSED_FILE;
    std::ofstream recording;
    const std::optional<std::string> record_to =
        ranked ? std::optional<std::string>(ranked->recording) : options.record;
    if (record_to && !replay::open_recording(*record_to, recording))
        return REFUSED_FILE;

    std::vector<scores::Entry> played;
    bool ran_out = false;
    console::NativeNeeds needs = game::exigencias_do_console();
    needs.palette = options.palette;
    // From before the console is taken until the games are in the table, an
    // interrupt the session does not answer itself is held, so a second
    // Ctrl-C cannot lose the games the first one ended.
    std::optional<console::InterruptHold> hold(std::in_place);
    const console::NativeOutcome outcome = console::run_on_native_console(
        needs, [&](console::ScreenBuffer& screen, console::Platform& platform) {
            // One that came while the console was being taken ends the
            // session before it starts.
            if (hold->interrupted())
                throw console::SessionEnded{100};
            if (replaying)
                return app::replay_session(options, *replaying, screen, platform, ran_out);
            // The machine's own platform, under every decorator, keeps the
            // table's clock true when --seed answers the game's with a seed.
            scores::Collector collector(platform, played);
#ifdef ORBITRIX_LIVE
            if (live_session)
                return app::play(options, screen, platform, collector, recording, *live_session);
#endif
            return app::play(options, screen, platform, collector,
                             options.record ? &recording : nullptr);
        });
    if (outcome.problem == console::NativeProblem::unfit_terminal)
        std::fprintf(stderr,
                     "orbitrix: this terminal (%s) cannot show the game; run it in a terminal "
                     "emulator such as xterm\n",
                     outcome.detail.c_str());
    else if (outcome.problem != console::NativeProblem::none)
        std::fprintf(stderr, "orbitrix: %s\n", outcome.detail.c_str());
    // The terminal is given back by now, on every ending. A replay's games
    // were played before, and are never entered in the table again.
    if (replaying)
        replay::say_if_ended_early(*options.replay, *replaying, ran_out);
    else
        scores::report_session(played, scores::Recording::on, out, err);
    hold.reset();
#ifdef ORBITRIX_LIVE
    if (live_session) {
        recording.close();
        // The session's own status once its games are on the board.
        const int sent = live_session->finish(ranked->recording, out, err);
        if (sent != submit::STORED)
            return sent;
    }
#endif
    return outcome.status;
}

} // namespace

int main(int argc, char** argv) {
    const int status = run(argc, argv);
#ifdef __EMSCRIPTEN__
    // In a page the status reaches its script only through exit(): a main
    // that has waited under ASYNCIFY returns to nobody.
    std::exit(status);
#endif
    return status;
}
