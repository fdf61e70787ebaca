// The player's shots: they climb a row per frame and look one cell further,
// where a ship or meteor is destroyed together with the shot and scores.
#include "game/desenho.hpp"
#include "game/fases.hpp"

namespace game {
namespace {

void apaga_direto(int coluna, int linha) {
    console::gotoxy(coluna, linha);
    console::_cprintf(" ");
}

// What the shot climbs into is simply replaced; only the cell beyond it counts
// as a hit. Returns true when the shot hit a ship, which ends the column.
bool sobe(Partida& p, int c, int r) {
    apaga_direto(c, r);
    p.campo.set(c, r, VAZIO);
    if (r <= 2)
        return false;
    p.campo.set(c, r - 1, TIRO);
    console::gotoxy(c, r - 1);
    if (p.campo.at(c, r - 2) == NAVE) {
        p.campo.set(c, r - 2, VAZIO);
        p.campo.set(c, r - 1, VAZIO);
        apaga(c, r - 2);
        p.pontos += 40 + console::rand() % 30;
        p.especial += 40;
        return true;
    }
    console::_cprintf("%c", static_cast<int>(TIRO));
    if (p.campo.at(c, r - 2) == METEORO && r >= 4) {
        apaga(c, r - 1);
        apaga(c, r - 2);
        p.campo.set(c, r - 2, VAZIO);
        p.campo.set(c, r - 1, VAZIO);
        p.pontos += 20 + console::rand() % 20;
        p.especial += 20;
    }
    return false;
}

} // namespace

// Top down, so a shot that climbed is not met again. A ship hit ends the
// column: a shot lower down waits for the next frame.
void fase_tiros(Partida& p) {
    for (int c = 1; c <= ULTIMA_COLUNA_VARRIDA; ++c) {
        for (int r = 1; r <= ULTIMA_LINHA_VARRIDA; ++r) {
            if (p.campo.at(c, r) == TIRO && sobe(p, c, r))
                break;
        }
    }
}

} // namespace game
