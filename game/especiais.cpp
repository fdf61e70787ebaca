// The special shot: it climbs to row 8 and detonates there, wiping a fixed
// block of the field whatever lies in it, the player's own cell included.
#include "game/desenho.hpp"
#include "game/fases.hpp"
#include "screens/explosao.hpp"

namespace game {
namespace {

constexpr int LINHA_DETONACAO = 8;
// The block wiped, whatever column the shot climbed in.
constexpr int PRIMEIRA_COLUNA_DO_BLOCO = 5;
constexpr int ULTIMA_COLUNA_DO_BLOCO = 49;
constexpr int ULTIMA_LINHA_DO_BLOCO = 17;

void limpa_bloco(Campo& campo) {
    for (int c = PRIMEIRA_COLUNA_DO_BLOCO; c <= ULTIMA_COLUNA_DO_BLOCO; ++c) {
        for (int r = LINHA_DETONACAO; r <= ULTIMA_LINHA_DO_BLOCO; ++r) {
            campo.set(c, r, VAZIO);
            apaga(c, r);
        }
    }
}

} // namespace

// Above the detonation row a shot is only erased, so the one that has just
// detonated is gone in the next frame.
void fase_especiais(Partida& p) {
    for (int c = 1; c <= ULTIMA_COLUNA_VARRIDA; ++c) {
        for (int r = 1; r <= ULTIMA_LINHA_VARRIDA; ++r) {
            if (p.campo.at(c, r) != ESPECIAL)
                continue;
            console::gotoxy(c, r);
            console::_cprintf(" ");
            p.campo.set(c, r, VAZIO);
            if (r >= LINHA_DETONACAO) {
                p.campo.set(c, r - 1, ESPECIAL);
                desenha(c, r - 1, ESPECIAL);
            }
            if (r == LINHA_DETONACAO) {
                screens::explosao(c, LINHA_DETONACAO);
                limpa_bloco(p.campo);
            }
        }
    }
}

} // namespace game
