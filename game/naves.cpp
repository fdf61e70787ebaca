// The enemy ships: where they appear, their repaint, their wandering and
// their fire.
#include "game/desenho.hpp"
#include "game/fases.hpp"

namespace game {

void fase_surge_nave(Partida& p) {
    if (console::rand() % 200 <= p.parametros.limiarnave)
        return;
    const int coluna = 1 + console::rand() % 70;
    const int linha = 1 + console::rand() % 7;
    // Painted by the repaint that follows, if it lands where ships are shown.
    if (coluna >= 4 && linha >= 4)
        p.campo.set(coluna, linha, NAVE);
}

void fase_redesenha_naves(const Partida& p) {
    for (int c = 1; c <= screens::ULTIMA_COLUNA_DA_AREA; ++c) {
        for (int r = 1; r <= ULTIMA_LINHA_VARRIDA; ++r) {
            if (p.campo.at(c, r) != NAVE)
                continue;
            console::textcolor(screens::cor_de(NAVE));
            desenha(c, r, NAVE);
            console::textcolor(BRANCO);
        }
    }
}

namespace {

void move_nave(Campo& campo, int de_coluna, int de_linha, int para_coluna, int para_linha) {
    apaga(de_coluna, de_linha);
    campo.set(de_coluna, de_linha, VAZIO);
    campo.set(para_coluna, para_linha, NAVE);
    // In the colour in force: white until the next repaint.
    desenha(para_coluna, para_linha, NAVE);
}

} // namespace

// In place, left to right and top down: a ship that went right or down is met
// again further on and may go on in the same pass. A ship in the area's last
// two columns stays where it is.
void fase_move_naves(Partida& p) {
    for (int c = 1; c <= ULTIMA_COLUNA_VARRIDA - 1; ++c) {
        for (int r = 1; r <= ULTIMA_LINHA_VARRIDA; ++r) {
            if (p.campo.at(c, r) != NAVE)
                continue;
            const int v = 1 + console::rand() % 100;
            if (v == 1 && c <= 43)
                move_nave(p.campo, c, r, c + 1, r);
            else if (v == 2 && c >= 3)
                move_nave(p.campo, c, r, c - 1, r);
            else if (v == 3 && r <= 43)
                move_nave(p.campo, c, r, c, r + 1);
        }
    }
}

void fase_fogo_inimigo(Partida& p) {
    if (console::rand() % 500 >= 10)
        return;
    for (int c = 1; c <= ULTIMA_COLUNA_VARRIDA; ++c) {
        for (int r = 1; r <= ULTIMA_LINHA_VARRIDA; ++r) {
            if (p.campo.at(c, r) != NAVE)
                continue;
            if (console::rand() % 100 <= 50)
                continue;
            // Unseen until it first falls; a ship right below is gone.
            p.campo.set(c, r + 1, TIRO_INIMIGO);
            ++r; // the new shot's cell is not looked at
            if (p.bipe == 0) {
                p.bipe = 1;
                console::_beep(250, 50);
            }
        }
    }
}

} // namespace game
