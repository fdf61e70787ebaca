#include "screens/janela.hpp"

#include "screens/celulas.hpp"
#include "screens/contato.hpp"
#include "screens/escreve.hpp"
#include "screens/moldura.hpp"
#include "screens/painel.hpp"
#include "screens/paleta.hpp"

namespace screens {

namespace {

constexpr int DIREITA = ULTIMA_COLUNA_DO_PAINEL + 1;
constexpr int BASE = ULTIMA_LINHA_DA_MOLDURA;

void byte_em(int coluna, int linha, int byte) {
    escreve(coluna, linha, "%c", byte);
}

void rotulo(const CampoDoPainel& campo) {
    escreve(PRIMEIRA_COLUNA_DO_PAINEL, campo.valor.linha, campo.rotulo);
}

void moldura() {
    for (int coluna = 1; coluna < DIREITA; ++coluna)
        byte_em(coluna, 1, HORIZONTAL);
    for (int linha = 1; linha <= BASE; ++linha)
        byte_em(DIREITA, linha, VERTICAL);
    for (int linha = 1; linha <= BASE; ++linha)
        byte_em(1, linha, VERTICAL);
    for (int coluna = 1; coluna < DIREITA; ++coluna)
        byte_em(coluna, BASE, HORIZONTAL);
}

void textos_do_painel() {
    console::textcolor(VERDE);
    escreve(STATUS.valor.coluna, STATUS.valor.linha, JOGANDO);
    console::textcolor(BRANCO);
    rotulo(NOME);
    escreve(PRIMEIRA_COLUNA_DO_PAINEL, VIDAS.valor.linha, VIDAS.rotulo, int{VIDA});
    rotulo(NIVEL);
    rotulo(TIRO_ESPECIAL);
    console::textcolor(VERMELHO);
    byte_em(TIRO_ESPECIAL.valor.coluna, TIRO_ESPECIAL.valor.linha, INDICADOR);
    console::textcolor(BRANCO);
    rotulo(PONTOS);
    rotulo(STATUS);

    console::textcolor(VERMELHO);
    escreve(61, 37, "     COMANDOS :");
    console::textcolor(BRANCO);
    escreve(63, 38, "A - ESQUERDA");
    escreve(63, 39, "D - DIREITA");
    escreve(63, 40, "W - CIMA");
    escreve(63, 41, "S - BAIXO");
    escreve(63, 42, "ESPACO - TIRO");
    escreve(63, 43, "P - PAUSE");
    escreve(63, 44, "B - ESPECIAL");
    escreve(63, 45, "ESC - SAIR");
    escreve(63, 47, "%s", contato);

    console::textcolor(VERMELHO);
    escreve(61, 22, "     LEGENDA ");
    console::textcolor(BRANCO);
    escreve(63, 24, "%c : Nave Inimiga", int{NAVE});
    escreve(63, 26, "%c  : Tiro Inimigo", int{glifo(TIRO_INIMIGO)});
    escreve(63, 28, "%c : Meteoro", int{METEORO});
    escreve(63, 30, "%c : Player", int{JOGADOR});
    escreve(63, 32, "%c : Vida", int{VIDA});
}

// The corners and junctions come last so that they win over the runs of
// lines drawn through their cells.
void cantos_e_divisorias() {
    console::textcolor(BRANCO);
    byte_em(1, BASE, CANTO_INF_ESQ);
    byte_em(1, 1, CANTO_SUP_ESQ);
    byte_em(DIREITA, 1, CANTO_SUP_DIR);
    byte_em(DIREITA, BASE, CANTO_INF_DIR);

    for (int linha = 1; linha < BASE; ++linha)
        byte_em(COLUNA_DA_DIVISORIA, linha, VERTICAL);
    byte_em(COLUNA_DA_DIVISORIA, BASE, JUNCAO_BASE);
    byte_em(COLUNA_DA_DIVISORIA, 1, JUNCAO_TOPO);

    for (const int linha : {LINHA_DOS_COMANDOS, LINHA_DA_LEGENDA}) {
        for (int coluna = COLUNA_DA_DIVISORIA; coluna < DIREITA; ++coluna)
            byte_em(coluna, linha, HORIZONTAL);
        byte_em(COLUNA_DA_DIVISORIA, linha, JUNCAO_ESQ);
        byte_em(DIREITA, linha, JUNCAO_DIR);
    }
}

} // namespace

void janela() {
    moldura();
    textos_do_painel();
    cantos_e_divisorias();
}

void printnivel(int nivel) {
    if (nivel < '1' || nivel > '4')
        return;
    console::gotoxy(NIVEL.valor.coluna, NIVEL.valor.linha);
    console::textcolor(VERDE);
    console::printf("%c ", nivel);
}

void tiroespecials(int especial) {
    console::gotoxy(TIRO_ESPECIAL.valor.coluna, TIRO_ESPECIAL.valor.linha);
    console::textcolor(especial > 1000 ? VERDE : VERMELHO);
    console::printf("%c", INDICADOR);
    console::textcolor(BRANCO);
}

} // namespace screens
