// The things that fall: meteors, which appear near the top unseen, and the
// enemy shots. Both fall one row at a time, all together or not at all.
#include "game/desenho.hpp"
#include "game/fases.hpp"

namespace game {
namespace {

struct Queda {
    std::uint8_t code;
    int primeira_coluna; // the scan runs from here down to column 2
    int ultima_linha;    // the last row from which it still falls
};

// Bottom to top, so nothing falls twice in one pass. What falls from the last
// row, or from column 2, is gone.
void cai(Campo& campo, const Queda& q) {
    for (int c = q.primeira_coluna; c >= 2; --c) {
        for (int r = 48; r >= 4; --r) {
            if (campo.at(c, r) != q.code)
                continue;
            apaga(c, r);
            campo.set(c, r, VAZIO);
            if (r <= q.ultima_linha && c >= 3) {
                campo.set(c, r + 1, q.code);
                console::textcolor(screens::cor_de(q.code));
                desenha(c, r + 1, q.code);
            }
            console::textcolor(BRANCO);
        }
    }
}

} // namespace

void fase_surge_meteoro(Partida& p) {
    if (console::rand() % 100 <= p.parametros.limiarmeteoro)
        return;
    const int linha = console::rand() % 5;
    const int coluna = console::rand() % 70;
    // Shown only once it first falls.
    p.campo.set(coluna, linha, METEORO);
}

void fase_queda_meteoros(Partida& p) {
    if (console::rand() % 100 <= p.parametros.limiarqueda)
        return;
    cai(p.campo, Queda{METEORO, 58, 46});
}

void fase_tiros_inimigos(Partida& p) {
    if (console::rand() % 100 <= p.parametros.limiartiroinimigo)
        return;
    cai(p.campo, Queda{TIRO_INIMIGO, 59, 45});
}

} // namespace game
