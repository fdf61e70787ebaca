// Placeholder until the player's controls land.
#include "game/fases.hpp"

namespace game {
bool fase_teclado(Partida&) {
    return false;
}
} // namespace game
