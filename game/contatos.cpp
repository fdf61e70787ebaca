// What the player meets in the cells around the ship: extra lives beside it,
// meteors and enemy shots falling onto it, and the extra lives that appear.
#include "game/desenho.hpp"
#include "game/fases.hpp"
#include "screens/sons.hpp"

namespace game {
namespace {

void apanha_vida(Partida& p, int coluna, int linha) {
    if (p.campo.at(coluna, linha) != VIDA)
        return;
    p.campo.set(coluna, linha, VAZIO);
    ++p.vidas;
    apaga(coluna, linha);
    screens::beeps2();
}

// Only the cell straight above the ship hurts; the ship starts again at a
// fixed place, with no time of safety.
void atingido_por(Partida& p, std::uint8_t atacante) {
    const int x = p.jogadorx;
    const int y = p.jogadory;
    if (p.campo.at(x, y - 1) != atacante)
        return;
    p.campo.set(x, y - 1, VAZIO);
    --p.vidas;
    apaga(x, y - 1);
    apaga(x, y);
    p.campo.set(x, y, VAZIO);
    screens::beeps();
    p.jogadorx = 35;
    p.jogadory = 45;
    p.campo.set(p.jogadorx, p.jogadory, JOGADOR);
    desenha(p.jogadorx, p.jogadory, JOGADOR);
}

} // namespace

void fase_contatos(Partida& p) {
    const int x = p.jogadorx;
    const int y = p.jogadory;
    apanha_vida(p, x + 1, y);
    apanha_vida(p, x - 1, y);
    apanha_vida(p, x, y + 1);
    apanha_vida(p, x, y - 1);
    // The shot test looks above the ship where the meteor left it.
    atingido_por(p, METEORO);
    atingido_por(p, TIRO_INIMIGO);
}

void fase_surge_vida(Partida& p) {
    if (console::rand() % 400 >= 5)
        return;
    const int coluna = 3 + console::rand() % 50;
    const int linha = 3 + console::rand() % 30;
    p.campo.set(coluna, linha, VIDA);
    desenha(coluna, linha, VIDA);
}

} // namespace game
