// The level rises by itself as the score passes each stage's mark, whatever
// level the game began at.
#include "game/fases.hpp"

namespace game {

void fase_avanco_nivel(Partida& p) {
    if (p.pontos > 5000 && p.etapa == 1) {
        p.etapa = 2;
        ++p.nivel;
    }
    if (p.pontos > 10000 && p.etapa == 2) {
        p.etapa = 3;
        ++p.nivel;
    }
    if (p.pontos > 15000 && p.etapa == 3) {
        p.etapa = 4;
        ++p.nivel;
    }
}

} // namespace game
