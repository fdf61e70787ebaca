#include "replay/result_text.hpp"

#include "replay/line_format.hpp"

namespace replay {
namespace {

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

} // namespace replay
