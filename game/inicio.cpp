#include "game/inicio.hpp"

#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "screens/janela.hpp"
#include "screens/niveis.hpp"
#include "screens/ocultarampliar.hpp"
#include "screens/painel.hpp"
#include "screens/paleta.hpp"
#include "screens/titulo.hpp"

#include <string_view>

namespace game {
namespace {

using screens::BRANCO;
using screens::PRETO;
using screens::VERDE;

constexpr int NAVES_INICIAIS = 5;

} // namespace

bool abertura(Partida& p) {
    console::clrscr();
    p = Partida{};
    screens::ocultarampliar();
    p.campo.clear();
    console::clrscr();
    screens::assinatura(38, 50);
    if (screens::apresentacao() != '1')
        return false;

    console::gotoxy(screens::PEDIDO_DO_NOME.coluna, screens::PEDIDO_DO_NOME.linha);
    console::textcolor(VERDE);
    console::printf(screens::PEDE_O_NOME);
    console::gets(p.nome);
    console::textbackground(PRETO);
    console::textcolor(BRANCO);

    screens::niveis();
    // The level screen's prompt leaves part of the title's red hint behind.
    console::gotoxy(36, 25);
    console::printf("                      ");
    console::gotoxy(screens::NOME_NOS_NIVEIS.coluna, screens::NOME_NOS_NIVEIS.linha);
    console::textcolor(VERDE);
    console::puts(std::string_view(p.nome.data()));
    console::textcolor(BRANCO);

    p.nivel = console::_getch();
    return true;
}

void monta_jogo(Partida& p) {
    console::clrscr();
    console::textcolor(BRANCO);
    console::srand(static_cast<unsigned>(console::time()));
    screens::janela();

    // Shown as a number, so a key other than '1' to '4' stays visible: the
    // frames' level display only knows those four.
    console::gotoxy(screens::NIVEL.valor.coluna, screens::NIVEL.valor.linha);
    console::textcolor(VERDE);
    console::printf("%i", p.nivel);
    console::textcolor(BRANCO);

    p.campo.set(p.jogadorx, p.jogadory, JOGADOR);
    console::gotoxy(p.jogadorx, p.jogadory);
    console::printf("%c", int{screens::glifo(JOGADOR)});

    // Not drawn here: the first frame's ship redraw paints them.
    for (int i = 0; i < NAVES_INICIAIS; ++i) {
        const int linha = console::rand();
        const int coluna = console::rand();
        p.campo.set(coluna % 50, 2 + linha % 5, NAVE);
    }
}

bool inicio(Partida& p, Observador& observador) {
    if (!abertura(p))
        return false;
    observador.nivel_escolhido(p.nome.data(), p.nivel);
    monta_jogo(p);
    return true;
}

bool inicio(Partida& p) {
    Observador ninguem;
    return inicio(p, ninguem);
}

} // namespace game
