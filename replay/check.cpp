#include "replay/check.hpp"

#include "console/memory_console.hpp"
#include "console/native.hpp"
#include "game/partida.hpp"
#include "game/sessao.hpp"
#include "replay/line_format.hpp"
#include "replay/replaying_platform.hpp"

#include <algorithm>
#include <limits>

namespace replay {
namespace {

// Reading a CPU clock is a system call: a wait point is far cheaper.
constexpr int WAITS_BETWEEN_CPU_READS = 64;

struct OverBudget {
    Verdict::Outcome outcome;
};

// In front of the replaying platform: counts the frames (the game asks
// whether a key waits once a frame, and nowhere else) and stops the
// session once it has cost more than the budget.
class Metered : public console::ForwardingPlatform {
  public:
    Metered(console::Platform& inner, const console::MemoryPlatform& clock, const Budget& budget)
        : ForwardingPlatform(inner), clock_(clock), budget_(budget) {
        if (budget_.cpu_ns > 0 && budget_.cpu_clock)
            cpu_start_ = budget_.cpu_clock();
    }

    bool kbhit() override {
        ++frames_;
        waited();
        return ForwardingPlatform::kbhit();
    }
    void sleep(int ms) override {
        own_ms_ += std::max(0, ms);
        ForwardingPlatform::sleep(ms);
        waited();
    }
    void beep(int hz, int ms) override {
        own_ms_ += std::max(0, ms);
        ForwardingPlatform::beep(hz, ms);
        waited();
    }

    std::int64_t time() override {
        last_time_ = ForwardingPlatform::time();
        return *last_time_;
    }

    std::int64_t frames() const { return frames_; }
    // The game's own waits and tones: the least time it took when played,
    // without the pauses the replay makes before each awaited key.
    std::int64_t own_ms() const { return own_ms_; }
    // The last clock answer since the last mark.
    std::optional<std::int64_t> last_time() const { return last_time_; }
    void mark() { last_time_.reset(); }

  private:
    void waited() {
        if (budget_.session_ms > 0 && clock_.now_ms() > budget_.session_ms)
            throw OverBudget{Verdict::Outcome::over_session_time};
        if (budget_.cpu_ns > 0 && budget_.cpu_clock && ++waits_ % WAITS_BETWEEN_CPU_READS == 0 &&
            budget_.cpu_clock() - cpu_start_ > budget_.cpu_ns)
            throw OverBudget{Verdict::Outcome::over_cpu};
    }

    const console::MemoryPlatform& clock_;
    const Budget& budget_;
    std::int64_t cpu_start_ = 0;
    std::int64_t frames_ = 0;
    std::int64_t waits_ = 0;
    std::int64_t own_ms_ = 0;
    std::optional<std::int64_t> last_time_;
};

struct Results : game::Observador {
    Results(const ReplayingPlatform& player, Metered& meter) : player(player), meter(meter) {}
    const ReplayingPlatform& player;
    Metered& meter;
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
    }
    void partida_termina(const game::Resultado& r) override {
        std::optional<std::uint32_t> seed;
        // The title seeds its own draws, then the game seeds its play with
        // the clock's last answer before it, cast to unsigned.
        if (const auto t = meter.last_time())
            seed = static_cast<std::uint32_t>(*t);
        games.push_back(
            ReplayedGame{r, meter.frames() - first_frame, meter.own_ms() - first_ms, seed});
        last_cut = player.ran_out();
    }
};

std::string_view ending_word(game::Desfecho d) {
    switch (d) {
    case game::Desfecho::perdeu:
        return "lost";
    case game::Desfecho::venceu:
        return "won";
    case game::Desfecho::saiu:
        break;
    }
    return "left";
}

std::int64_t shortest_frame_ms() {
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (const game::Nivel& nivel : game::NIVEIS)
        least = std::min<std::int64_t>(least, nivel.parametros.atraso);
    return least;
}

} // namespace

std::string_view ending_text(game::Desfecho d) {
    switch (d) {
    case game::Desfecho::perdeu:
        return "perdeu";
    case game::Desfecho::venceu:
        return "venceu";
    case game::Desfecho::saiu:
        break;
    }
    return "saiu";
}

std::string result_difference(const game::Resultado& got, const game::Resultado& want) {
    const auto field = [](std::string_view what, const std::string& a, const std::string& b) {
        return std::string(what) + " " + a + " replayed, " + b + " recorded";
    };
    if (got.nome != want.nome)
        return field("name", quoted(got.nome), quoted(want.nome));
    if (got.nivel_inicial != want.nivel_inicial)
        return field("first level", level_text(got.nivel_inicial), level_text(want.nivel_inicial));
    if (got.nivel != want.nivel)
        return field("last level", level_text(got.nivel), level_text(want.nivel));
    if (got.pontos != want.pontos)
        return field("points", std::to_string(got.pontos), std::to_string(want.pontos));
    if (got.vidas != want.vidas)
        return field("lives", std::to_string(got.vidas), std::to_string(want.vidas));
    if (got.desfecho != want.desfecho)
        return field("ending", std::string(ending_word(got.desfecho)),
                     std::string(ending_word(want.desfecho)));
    return {};
}

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

Verdict check_recording(const Recording& recording, const Budget& budget) {
    Verdict verdict;
    console::MemoryConsole con;
    con.platform.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
    ReplayingPlatform player(con.platform, recording, Pace{});
    Metered meter(player, con.platform, budget);
    Results replayed(player, meter);
    {
        const console::Installation installed(con.screen, meter);
        try {
            game::sessao(replayed);
        } catch (const console::SessionEnded&) {
        } catch (const OverBudget& over) {
            verdict.outcome = over.outcome;
            verdict.what = over.outcome == Verdict::Outcome::over_cpu
                               ? "over the replay budget: more CPU time than the server gives one "
                                 "recording"
                               : "over the replay budget: more of the session's own time than the "
                                 "server replays";
            return verdict;
        }
    }
    const bool ended_early = player.ran_out() || recording.cut_short;

    std::vector<game::Resultado> recorded;
    for (const Event& event : recording.events)
        if (const auto* game = std::get_if<GameEnded>(&event))
            recorded.push_back(game->result);

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
            if (ended_early)
                break;
            return fail(Verdict::Outcome::differs, 0,
                        "game " + std::to_string(number) + " was replayed but not recorded");
        }
        if (const auto how = result_difference(r.result, recorded[number - 1]); !how.empty())
            return fail(Verdict::Outcome::differs, 0,
                        "game " + std::to_string(number) + " differs: " + how);
    }
    if (ended_early)
        return fail(Verdict::Outcome::cut_short, recording.last_line,
                    "the recording ends here, cut short: the replay ended early");
    if (replayed.games.size() < recorded.size())
        return fail(Verdict::Outcome::differs, 0,
                    "game " + std::to_string(replayed.games.size() + 1) +
                        " was recorded but not replayed");
    return verdict;
}

} // namespace replay
