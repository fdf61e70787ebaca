#include "replay/verify.hpp"

#include "replay/check.hpp"
#include "replay/line_format.hpp"

namespace replay {

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

} // namespace replay
