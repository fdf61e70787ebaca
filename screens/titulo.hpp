#pragma once
// The typed credit and the title sequence with its menu.

namespace screens {

void assinatura(int linha, int coluna);
// The menu key pressed, as its character code.
int apresentacao();

} // namespace screens
