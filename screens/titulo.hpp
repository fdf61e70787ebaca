#pragma once
// The typed credit and the title sequence with its menu.

#include "screens/posicao.hpp"

#include <string_view>

namespace screens {

// The menu's '1' leaves the name prompt in place of its second line; the
// game writes it again there before it reads the name.
inline constexpr Posicao PEDIDO_DO_NOME{15, 22};
inline constexpr std::string_view PEDE_O_NOME = "Digite Seu Nome -> ";

void assinatura(int linha, int coluna);
// The menu key pressed, as its character code.
int apresentacao();

} // namespace screens
