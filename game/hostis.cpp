// Placeholder until the hostiles land.
#include "game/fases.hpp"

namespace game {
void fase_contatos(Partida&) {}
void fase_surge_vida(Partida&) {}
void fase_surge_meteoro(Partida&) {}
void fase_queda_meteoros(Partida&) {}
void fase_tiros_inimigos(Partida&) {}
void fase_surge_nave(Partida&) {}
void fase_redesenha_naves(const Partida&) {}
void fase_move_naves(Partida&) {}
void fase_fogo_inimigo(Partida&) {}
} // namespace game
