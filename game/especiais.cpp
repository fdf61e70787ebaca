// The special shot: it climbs to row 8 and detonates there, wiping a fixed
// block of the field whatever lies in it, the player's own cell included.
#include "game/desenho.hpp"
#include "game/fases.hpp"
#include "screens/efeitos.hpp"

namespace game {
namespace {

constexpr int LINHA_DETONACAO = 8;

// The block does not follow the shot's column.
void limpa_bloco(Campo& campo) {
    for (int c = 5; c <= 49; ++c) {
        for (int r = 8; r <= 17; ++r) {
            campo.set(c, r, VAZIO);
            apaga(c, r);
        }
    }
}

} // namespace

// Above the detonation row a shot is only erased, so the one that has just
// detonated is gone in the next frame.
void fase_especiais(Partida& p) {
    for (int c = 1; c <= 58; ++c) {
        for (int r = 1; r <= 49; ++r) {
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
