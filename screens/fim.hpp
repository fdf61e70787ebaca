#pragma once
// The two end screens.

#include "screens/posicao.hpp"

namespace screens {

void gameover(int pontos, int nivel);
void zerado();

// The box both screens draw spans these columns, borders included.
inline constexpr int BORDA_ESQUERDA_DA_CAIXA = 19;
inline constexpr int BORDA_DIREITA_DA_CAIXA = 60;

// The caller writes the player's name here, after gameover's "JOGADOR - > ",
// in no more cells than lie before the box's right border.
inline constexpr Posicao NOME_NO_GAMEOVER{33, 21};
inline constexpr int LARGURA_DO_NOME_NO_GAMEOVER = BORDA_DIREITA_DA_CAIXA - NOME_NO_GAMEOVER.coluna;

} // namespace screens
