#include "replay/verify.hpp"

#include "replay/check.hpp"
#include "replay/line_format.hpp"
#include "replay/result_text.hpp"

namespace replay {

std::string verdict_results(const Verdict& verdict) {
    std::string out;
    int number = 0;
    for (const ReplayedGame& g : verdict.games) {
        const game::Resultado& r = g.result;
        ++number;
        out += "partida " + std::to_string(number) + ": " + quoted(r.nome) + ", nivel " +
               level_text(r.nivel_inicial) + " a " + level_text(r.nivel) + ", " +
               std::to_string(r.pontos) + " pontos, " + std::to_string(r.vidas) + " vidas, " +
               std::string(ending_text(r.desfecho)) + "\n";
    }
    if (verdict.outcome == Verdict::Outcome::confirmed)
        out += std::to_string(number) + (number == 1 ? " partida confere" : " partidas conferem") +
               " com o registro\n";
    return out;
}

std::string verdict_refusal(const Verdict& verdict, const std::string& name) {
    if (verdict.outcome == Verdict::Outcome::confirmed)
        return {};
    std::string err = "orbitrix: " + name;
    if (verdict.line > 0)
        err += " line " + std::to_string(verdict.line);
    return err + ": " + verdict.what + "\n";
}

int verdict_status(const Verdict& verdict) {
    return verdict.outcome == Verdict::Outcome::confirmed ? 0 : 1;
}

int verify_recording(const Recording& recording, const std::string& name, std::ostream& out,
                     std::ostream& err) {
    const Verdict verdict = check_recording(recording);
    out << verdict_results(verdict);
    err << verdict_refusal(verdict, name);
    return verdict_status(verdict);
}

} // namespace replay
