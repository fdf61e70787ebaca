#include "game/quadro.hpp"

#include "game/fases.hpp"

namespace game {
namespace {

constexpr int ESC = 27;
constexpr int PONTOS_PARA_ZERAR = 30000;

} // namespace

Fim quadro(Partida& p) {
    fase_parametros(p);
    fase_vidas_iniciais(p);
    // The key was read in the previous frame, so the frame that read it
    // still finished, completion test included.
    if (p.tecla == ESC)
        return Fim::esc;
    fase_status(p);
    fase_contatos(p);
    fase_mostra_vidas(p);
    fase_surge_vida(p);
    fase_mostra_nome(p);
    fase_surge_meteoro(p);
    fase_queda_meteoros(p);
    fase_tiros(p);
    fase_avanco_nivel(p);
    fase_especiais(p);
    fase_tiros_inimigos(p);
    fase_surge_nave(p);
    fase_redesenha_naves(p);
    fase_atraso(p);
    fase_move_naves(p);
    fase_fogo_inimigo(p);
    // Without a key the frame ends here: the completion test waits for a
    // frame that reads one, and the enemy-fire tone stays spent.
    if (!fase_teclado(p))
        return Fim::continua;
    if (p.pontos >= PONTOS_PARA_ZERAR)
        return Fim::completo;
    p.bipe = 0;
    return Fim::continua;
}

} // namespace game
