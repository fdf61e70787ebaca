#include "replay/check.hpp"

#include "console/memory_console.hpp"
#include "console/native.hpp"
#include "game/partida.hpp"
#include "game/sessao.hpp"
#include "replay/metered_platform.hpp"
#include "replay/recording_source.hpp"
#include "replay/replaying_platform.hpp"
#include "replay/result_text.hpp"

#include <algorithm>
#include <limits>

namespace replay {
namespace {

// Each game as it ends, with what the meter counted of it; every call is
// passed on to the caller's watcher.
struct Results : game::Observador {
    Results(const ReplayingPlatform& player, MeteredPlatform& meter, game::Observador& watch)
        : player(player), meter(meter), watch(watch) {}
    const ReplayingPlatform& player;
    MeteredPlatform& meter;
    game::Observador& watch;
    std::vector<ReplayedGame> games;
    std::int64_t first_frame = 0;
    std::int64_t first_ms = 0;
    // A game the recording ran out in ends as left, whatever the recorded
    // session went on to do: there is nothing to compare it with.
    bool last_cut = false;
    void partida_comeca() override {
        first_frame = meter.frames();
        first_ms = meter.own_ms();
        meter.mark();
        watch.partida_comeca();
    }
    void nivel_escolhido(const std::string& nome, int nivel) override {
        watch.nivel_escolhido(nome, nivel);
    }
    void jogo_comeca(const std::string& nome, int nivel) override {
        watch.jogo_comeca(nome, nivel);
    }
    void nivel_sobe(int nivel) override { watch.nivel_sobe(nivel); }
    void partida_termina(const game::Resultado& r) override {
        std::optional<std::uint32_t> seed;
        // The title seeds its own draws, then the game seeds its play with
        // the clock's last answer before it, cast to unsigned.
        if (const auto t = meter.last_time())
            seed = static_cast<std::uint32_t>(*t);
        games.push_back(
            ReplayedGame{r, meter.frames() - first_frame, meter.own_ms() - first_ms, seed});
        last_cut = player.ran_out();
        watch.partida_termina(r);
    }
};

struct Played {
    std::vector<ReplayedGame> games;
    bool last_cut = false;
    // The recording ran out, or was cut short, before the session ended.
    bool ended_early = false;
};

std::int64_t shortest_frame_ms() {
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (const game::Nivel& nivel : game::NIVEIS)
        least = std::min<std::int64_t>(least, nivel.parametros.atraso);
    return least;
}

// The session played on the stage with the recording's keys and clock;
// OverBudget when it cost more than the budget.
Played play(EventSource& source, const Stage& stage, const ReplayOptions& options) {
    game::Observador no_one;
    Pace pace;
    pace.hold_awaited_keys = options.hold_awaited_keys;
    ReplayingPlatform player(stage.platform, source, pace);
    MeteredPlatform meter(player, options.budget);
    Results results(player, meter, options.watch ? *options.watch : no_one);
    {
        const console::Installation installed(stage.screen, meter);
        try {
            game::sessao(results);
        } catch (const console::SessionEnded&) {
        }
    }
    return Played{std::move(results.games), results.last_cut,
                  player.ran_out() || source.cut_short()};
}

Verdict over_budget(Verdict::Outcome outcome) {
    Verdict verdict;
    verdict.outcome = outcome;
    verdict.what = outcome == Verdict::Outcome::over_cpu
                       ? "over the replay budget: more CPU time than the server gives one "
                         "recording"
                       : "over the replay budget: more of the session's own time than the "
                         "server replays";
    return verdict;
}

// Each replayed game against the recorded one, in order, up to the first
// that differs.
Verdict compared(const EventSource& source, const Played& replayed) {
    Verdict verdict;
    const std::vector<game::Resultado> recorded = source.recorded();

    const auto fail = [&](Verdict::Outcome outcome, int line, std::string what) {
        verdict.outcome = outcome;
        verdict.line = line;
        verdict.what = std::move(what);
        return verdict;
    };
    std::size_t number = 0;
    for (const ReplayedGame& r : replayed.games) {
        ++number;
        verdict.games.push_back(r);
        if (replayed.last_cut && number == replayed.games.size())
            break;
        if (number > recorded.size()) {
            if (replayed.ended_early)
                break;
            return fail(Verdict::Outcome::differs, 0,
                        "game " + std::to_string(number) + " was replayed but not recorded");
        }
        if (const auto how = result_difference(r.result, recorded[number - 1]); !how.empty())
            return fail(Verdict::Outcome::differs, 0,
                        "game " + std::to_string(number) + " differs: " + how);
    }
    if (replayed.ended_early)
        return fail(Verdict::Outcome::cut_short, source.last_line(),
                    "the recording ends here, cut short: the replay ended early");
    if (replayed.games.size() < recorded.size())
        return fail(Verdict::Outcome::differs, 0,
                    "game " + std::to_string(replayed.games.size() + 1) +
                        " was recorded but not replayed");
    return verdict;
}

} // namespace

std::int64_t least_session_ms(const Recording& recording) {
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    const std::int64_t frame_ms = shortest_frame_ms();
    std::int64_t total = 0;
    for (const Event& event : recording.events) {
        const auto* key = std::get_if<KeyRead>(&event);
        if (!key)
            continue;
        if (key->misses > (most - total) / frame_ms)
            return most;
        total += key->misses * frame_ms;
    }
    return total;
}

Verdict check_events(EventSource& source, const ReplayOptions& options) {
    try {
        if (options.stage)
            return compared(source, play(source, *options.stage, options));
        console::MemoryConsole con;
        con.platform.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
        return compared(source, play(source, Stage{con.screen, con.platform}, options));
    } catch (const OverBudget& over) {
        return over_budget(over.outcome);
    }
}

Verdict check_recording(const Recording& recording, const ReplayOptions& options) {
    RecordingSource source(recording);
    return check_events(source, options);
}

} // namespace replay
