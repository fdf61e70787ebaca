#include "game/sessao.hpp"

#include "game/desfecho.hpp"
#include "game/inicio.hpp"
#include "game/quadro.hpp"

namespace game {
namespace {

constexpr int STATUS_DE_SAIDA = 100;

Resultado resultado_de(const Partida& p, int nivel_inicial, Desfecho desfecho) {
    return Resultado{p.nome.data(), nivel_inicial, p.nivel, p.pontos, p.vidas, desfecho};
}

} // namespace

bool joga(Partida& p, Observador& observador) {
    const int nivel_inicial = p.nivel;
    bool contado = false;
    const auto termina = [&](Desfecho desfecho) {
        if (!contado)
            observador.partida_termina(resultado_de(p, nivel_inicial, desfecho));
        contado = true;
    };
    try {
        observador.jogo_comeca(p.nome.data(), p.nivel);
        Fim fim = Fim::continua;
        // Lives are tested before the ESC test, so a last life lost in the
        // frame that read ESC still shows the game-over screen.
        while (fim == Fim::continua && p.vidas >= 1) {
            const int nivel = p.nivel;
            fim = quadro(p);
            if (p.nivel != nivel)
                observador.nivel_sobe(p.nivel);
        }
        switch (fim) {
        case Fim::esc:
            termina(Desfecho::saiu);
            return false;
        case Fim::completo:
            termina(Desfecho::venceu);
            return fim_zerado(p);
        case Fim::continua:
            break;
        }
        termina(Desfecho::perdeu);
        return fim_gameover(p);
    } catch (...) {
        // A signal or a vanished terminal ends the session from inside a
        // wait; the game played so far still counts.
        termina(Desfecho::saiu);
        throw;
    }
}

bool joga(Partida& p) {
    Observador ninguem;
    return joga(p, ninguem);
}

int sessao(Observador& observador) {
    for (;;) {
        Partida p;
        observador.partida_comeca();
        if (!inicio(p, observador) || !joga(p, observador))
            return STATUS_DE_SAIDA;
    }
}

int sessao() {
    Observador ninguem;
    return sessao(ninguem);
}

} // namespace game
