#include "game/sessao.hpp"

#include "game/desfecho.hpp"
#include "game/inicio.hpp"
#include "game/quadro.hpp"

namespace game {
namespace {

constexpr int STATUS_DE_SAIDA = 100;

} // namespace

bool joga(Partida& p) {
    Fim fim = Fim::continua;
    // Lives are tested before the ESC test, so a last life lost in the frame
    // that read ESC still shows the game-over screen.
    while (fim == Fim::continua && p.vidas >= 1)
        fim = quadro(p);
    switch (fim) {
    case Fim::esc:
        return false;
    case Fim::completo:
        return fim_zerado(p);
    case Fim::continua:
        break;
    }
    return fim_gameover(p);
}

int sessao() {
    for (;;) {
        Partida p;
        if (!inicio(p) || !joga(p))
            return STATUS_DE_SAIDA;
    }
}

} // namespace game
