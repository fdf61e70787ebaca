// Placeholder until the shots land.
#include "game/fases.hpp"

namespace game {
void fase_tiros(Partida&) {}
void fase_avanco_nivel(Partida&) {}
void fase_especiais(Partida&) {}
} // namespace game
