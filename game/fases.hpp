#pragma once
// The phases of one frame, in frame order, each an operation on the game.

#include "game/partida.hpp"

namespace game {

// Frame bookkeeping and the status panel.
void fase_parametros(Partida& p);         // 1
void fase_vidas_iniciais(Partida& p);     // 2
void fase_status(const Partida& p);       // 4
void fase_mostra_vidas(const Partida& p); // 6
void fase_mostra_nome(const Partida& p);  // 8
void fase_atraso(const Partida& p);       // 17

// The hostiles and their hits on the player.
void fase_contatos(Partida& p);              // 5
void fase_surge_vida(Partida& p);            // 7
void fase_surge_meteoro(Partida& p);         // 9
void fase_queda_meteoros(Partida& p);        // 10
void fase_tiros_inimigos(Partida& p);        // 14
void fase_surge_nave(Partida& p);            // 15
void fase_redesenha_naves(const Partida& p); // 16
void fase_move_naves(Partida& p);            // 18
void fase_fogo_inimigo(Partida& p);          // 19

// The player's shots, scoring and the level advance.
void fase_tiros(Partida& p);        // 11
void fase_avanco_nivel(Partida& p); // 12
void fase_especiais(Partida& p);    // 13

// The keyboard: false when no key was waiting (the frame ends there).
bool fase_teclado(Partida& p); // 20

} // namespace game
