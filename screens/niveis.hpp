#pragma once

#include "screens/posicao.hpp"
#include "screens/titulo.hpp"

#include <algorithm>

namespace screens {

// What the four levels change, drawn over the title screen.
void niveis();

// The caller ends the level prompt with the player's name here.
inline constexpr Posicao NOME_NOS_NIVEIS{35, 25};

// The name is echoed after its prompt and again after the level prompt; a
// name longer than either row holds would wrap into the level screen's texts.
inline constexpr int NOME_MAXIMO =
    std::min(resta_na_linha(PEDIDO_DO_NOME.coluna + static_cast<int>(PEDE_O_NOME.size())),
             resta_na_linha(NOME_NOS_NIVEIS.coluna));

} // namespace screens
