#include "replay/verify.hpp"

#include "console/memory_console.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"
#include "replay/check.hpp"
#include "replay/line_format.hpp"
#include "replay/replaying_platform.hpp"

#include <vector>

namespace replay {
namespace {

// Each game's result as it ends, passed on to the watcher with every other
// call.
struct Results : game::Observador {
    Results(const ReplayingPlatform& player, game::Observador& watch)
        : player(player), watch(watch) {}
    const ReplayingPlatform& player;
    game::Observador& watch;
    Replayed replayed;
    void partida_comeca() override { watch.partida_comeca(); }
    void jogo_comeca(const std::string& nome, int nivel) override {
        watch.jogo_comeca(nome, nivel);
    }
    void nivel_sobe(int nivel) override { watch.nivel_sobe(nivel); }
    void partida_termina(const game::Resultado& r) override {
        replayed.games.push_back(r);
        // A game the recording ran out in ends as left, whatever the
        // recorded session went on to do.
        replayed.last_cut = player.ran_out();
        watch.partida_termina(r);
    }
};

} // namespace

Replayed replay_recording(const Recording& recording, console::ScreenBuffer& screen,
                          console::Platform& platform, game::Observador& watch) {
    ReplayingPlatform player(platform, recording, Pace{});
    Results results(player, watch);
    {
        const console::Installation installed(screen, player);
        try {
            game::sessao(results);
        } catch (const console::SessionEnded&) {
        }
    }
    results.replayed.ended_early = player.ran_out() || recording.cut_short;
    return results.replayed;
}

int verify_recording(const Recording& recording, const std::string& name, std::ostream& out,
                     std::ostream& err) {
    const Verdict verdict = check_recording(recording);
    int number = 0;
    for (const ReplayedGame& g : verdict.games) {
        const game::Resultado& r = g.result;
        ++number;
        out << "partida " << number << ": " << quoted(r.nome) << ", nivel "
            << level_text(r.nivel_inicial) << " a " << level_text(r.nivel) << ", " << r.pontos
            << " pontos, " << r.vidas << " vidas, " << ending_text(r.desfecho) << "\n";
    }
    if (verdict.outcome != Verdict::Outcome::confirmed) {
        err << "orbitrix: " << name;
        if (verdict.line > 0)
            err << " line " << verdict.line;
        err << ": " << verdict.what << "\n";
        return 1;
    }
    out << number << (number == 1 ? " partida confere" : " partidas conferem")
        << " com o registro\n";
    return 0;
}

int check_replay(const Replayed& replayed, const Recording& recording, const std::string& name,
                 std::ostream& out, std::ostream& err) {
    const bool ended_early = replayed.ended_early;
    std::vector<game::Resultado> recorded;
    for (const Event& event : recording.events)
        if (const auto* game = std::get_if<GameEnded>(&event))
            recorded.push_back(game->result);

    int number = 0;
    for (const game::Resultado& r : replayed.games) {
        ++number;
        out << "partida " << number << ": " << quoted(r.nome) << ", nivel "
            << level_text(r.nivel_inicial) << " a " << level_text(r.nivel) << ", " << r.pontos
            << " pontos, " << r.vidas << " vidas, " << ending_text(r.desfecho) << "\n";
        if (replayed.last_cut && number == static_cast<int>(replayed.games.size()))
            break;
        if (static_cast<std::size_t>(number) > recorded.size()) {
            if (ended_early)
                break;
            err << "orbitrix: " << name << ": game " << number
                << " was replayed but not recorded\n";
            return 1;
        }
        if (const auto how = result_difference(r, recorded[number - 1]); !how.empty()) {
            err << "orbitrix: " << name << ": game " << number << " differs: " << how << "\n";
            return 1;
        }
    }
    if (ended_early) {
        err << "orbitrix: " << name << " line " << recording.last_line
            << ": the recording ends here, cut short: the replay ended early\n";
        return 1;
    }
    if (replayed.games.size() < recorded.size()) {
        err << "orbitrix: " << name << ": game " << replayed.games.size() + 1
            << " was recorded but not replayed\n";
        return 1;
    }
    out << number << (number == 1 ? " partida confere" : " partidas conferem")
        << " com o registro\n";
    return 0;
}

} // namespace replay
