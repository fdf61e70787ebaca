// Placeholders until the screens land.
#include "screens/efeitos.hpp"
#include "screens/fim.hpp"
#include "screens/janela.hpp"
#include "screens/niveis.hpp"
#include "screens/titulo.hpp"

namespace screens {
void janela() {}
void printnivel(int) {}
void tiroespecials(int) {}
void explosao(int, int) {}
void beeps() {}
void beeps2() {}
void tune_titulo() {}
void tune_zerado() {}
void ocultarampliar() {}
void assinatura(int, int) {}
int apresentacao() { return '1'; }
void niveis() {}
void gameover(int, int) {}
void zerado() {}
} // namespace screens
