#include "server/pages/open_reason.hpp"

#include <array>
#include <utility>

namespace board::pages {
namespace {

// Each reason the board gives, by how it begins.
constexpr std::array<std::pair<std::string_view, std::string_view>, 11> REASONS{{
    {"not played live", "nao jogado ao vivo"},
    {"made in advance", "teclas feitas antes do jogo"},
    {"slowed down or sent late", "jogo mais lento que o tempo real, ou enviado atrasado"},
    {"held too often or too long", "pausado vezes demais, ou tempo demais"},
    {"held where the game does not wait", "pausado onde o jogo nao espera o jogador"},
    {"its keys and the frames it reported disagree", "teclas e quadros nao conferem"},
    {"cut off", "interrompido antes do fim"},
    {"abandoned", "abandonado: sem teclas por tempo demais"},
    {"dealt, but the stream stopped", "interrompido antes de jogar"},
    {"no seed was dealt", "jogado sem semente do placar"},
    {"over the replay budget", "alem do que o placar reprisa"},
}};

} // namespace

std::string open_reason_text(std::string_view reason) {
    for (const auto& [english, portuguese] : REASONS)
        if (reason.starts_with(english))
            return std::string(portuguese);
    return std::string(reason);
}

} // namespace board::pages
