// The keyboard phase: one waiting key per frame steers, fires or pauses.
#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/fases.hpp"
#include "screens/celulas.hpp"
#include "screens/painel.hpp"
#include "screens/paleta.hpp"

namespace game {
namespace {

using screens::BRANCO;
using screens::VERDE;
using screens::VERMELHO;

constexpr int ESPACO = 32;
constexpr int PAUSA = 'p';
constexpr int TIROS_ENTRE_MOVIMENTOS = 6;
constexpr int CARGA_DO_ESPECIAL = 951;
constexpr int PONTOS_DO_ESPECIAL = 250;

constexpr int ESQUERDA_MINIMA = 3;
constexpr int DIREITA_MAXIMA = 58;
constexpr int BAIXO_MAXIMO = 47;
constexpr int CIMA_MINIMA = 5;

// Whatever sits in the new cell is replaced: a move never collides.
void move_jogador(Partida& p, int dx, int dy) {
    console::gotoxy(p.jogadorx, p.jogadory);
    console::printf(" ");
    p.campo.set(p.jogadorx, p.jogadory, VAZIO);
    p.jogadorx += dx;
    p.jogadory += dy;
    p.campo.set(p.jogadorx, p.jogadory, JOGADOR);
    console::gotoxy(p.jogadorx, p.jogadory);
    console::printf("%c", int{screens::glifo(JOGADOR)});
}

// Only left, right and up give back the six shots; down does not.
void move_e_recarrega(Partida& p, int dx, int dy) {
    p.tiros = 0;
    move_jogador(p, dx, dy);
}

// The shots are drawn from the next frame on, by their own phases.
void atira(Partida& p) {
    ++p.tiros;
    p.campo.set(p.jogadorx, p.jogadory - 1, TIRO);
    console::_beep(114, 48);
}

void atira_especial(Partida& p) {
    p.especial = 0;
    p.campo.set(p.jogadorx, p.jogadory - 1, ESPECIAL);
    p.pontos += PONTOS_DO_ESPECIAL;
}

// The resuming key is swallowed, ESC included.
void pausa() {
    const screens::Posicao status = screens::STATUS.valor;
    console::gotoxy(status.coluna, status.linha);
    console::textcolor(VERMELHO);
    console::printf(screens::PAUSADO);
    console::textcolor(BRANCO);
    console::gotoxy(status.coluna, status.linha + 1);
    console::_getch();
    console::textcolor(VERDE);
    console::gotoxy(status.coluna, status.linha);
    console::printf(screens::JOGANDO);
    console::textcolor(BRANCO);
}

} // namespace

bool fase_teclado(Partida& p) {
    if (console::_kbhit() != 1)
        return false;
    p.tecla = console::_getch();
    // Upper-case P does not pause: the down arrow arrives as 224 then 'P'.
    switch (p.tecla) {
    case 'a':
    case 'A':
        if (p.jogadorx >= ESQUERDA_MINIMA)
            move_e_recarrega(p, -1, 0);
        break;
    case 'd':
    case 'D':
        if (p.jogadorx <= DIREITA_MAXIMA)
            move_e_recarrega(p, 1, 0);
        break;
    case 's':
    case 'S':
        if (p.jogadory <= BAIXO_MAXIMO)
            move_jogador(p, 0, 1);
        break;
    case 'w':
    case 'W':
        if (p.jogadory >= CIMA_MINIMA)
            move_e_recarrega(p, 0, -1);
        break;
    case ESPACO:
        if (p.tiros < TIROS_ENTRE_MOVIMENTOS)
            atira(p);
        break;
    case PAUSA:
        pausa();
        break;
    case 'b':
    case 'B':
        if (p.especial >= CARGA_DO_ESPECIAL)
            atira_especial(p);
        break;
    default:
        // ESC acts at the next frame's ESC test; other keys do nothing.
        break;
    }
    return true;
}

} // namespace game
