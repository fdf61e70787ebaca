// Placeholder until the frame loop lands.
#include "game/fases.hpp"

namespace game {
void fase_parametros(Partida&) {}
void fase_vidas_iniciais(Partida&) {}
void fase_status(const Partida&) {}
void fase_mostra_vidas(const Partida&) {}
void fase_mostra_nome(const Partida&) {}
void fase_atraso(const Partida&) {}
} // namespace game
