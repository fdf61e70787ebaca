#include "game/desfecho.hpp"

#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "screens/fim.hpp"
#include "screens/paleta.hpp"

namespace game {

using screens::BRANCO;
using screens::VERDE;

bool fim_gameover(Partida& p) {
    console::clrscr();
    screens::gameover(p.pontos, p.nivel);
    console::gotoxy(screens::NOME_NO_GAMEOVER.coluna, screens::NOME_NO_GAMEOVER.linha);
    console::textcolor(VERDE);
    console::puts(nome_cortado(p, screens::LARGURA_DO_NOME_NO_GAMEOVER));
    console::textcolor(BRANCO);
    // A key typed during the wait, or left over from play, is the answer.
    console::_sleep(3000);
    p.opcao = console::_getch();
    return p.opcao == '1';
}

bool fim_zerado(Partida& p) {
    console::_sleep(5000);
    console::clrscr();
    screens::zerado();
    console::gotoxy(28, 45);
    console::textcolor(VERDE);
    console::printf("OPCAO --> ");
    // Reads the whole line, so nothing of it reaches the next name prompt.
    console::scanf_i(p.opcao);
    console::textcolor(BRANCO);
    return p.opcao == 1;
}

} // namespace game
