#include "screens/janela.hpp"

#include "screens/contato.hpp"
#include "screens/escreve.hpp"

namespace screens {

namespace {

constexpr int horizontal = 205;
constexpr int vertical = 186;
constexpr int canto_sup_esq = 201;
constexpr int canto_sup_dir = 187;
constexpr int canto_inf_esq = 200;
constexpr int canto_inf_dir = 188;
constexpr int juncao_topo = 203;
constexpr int juncao_base = 202;
constexpr int juncao_esq = 204;
constexpr int juncao_dir = 185;

constexpr int vida = 3;
constexpr int nave = 12;
constexpr int meteoro = 15;
constexpr int jogador = 190;
constexpr int indicador = 1;

constexpr int verde = 2;
constexpr int vermelho = 4;
constexpr int branco = 15;

void byte_em(int coluna, int linha, int byte) {
    escreve(coluna, linha, "%c", byte);
}

void moldura() {
    for (int coluna = 1; coluna <= 79; ++coluna)
        byte_em(coluna, 1, horizontal);
    for (int linha = 1; linha <= 49; ++linha)
        byte_em(80, linha, vertical);
    for (int linha = 1; linha <= 49; ++linha)
        byte_em(1, linha, vertical);
    for (int coluna = 1; coluna <= 79; ++coluna)
        byte_em(coluna, 49, horizontal);
}

void textos_do_painel() {
    console::textcolor(verde);
    escreve(71, 16, "JOGANDO");
    console::textcolor(branco);
    escreve(61, 3, " Nome : ");
    escreve(61, 5, " Vidas %c :", vida);
    escreve(61, 7, " Nivel :");
    escreve(61, 9, " Tiro Especial :");
    console::textcolor(vermelho);
    byte_em(78, 9, indicador);
    console::textcolor(branco);
    escreve(61, 11, " Pontos : ");
    escreve(61, 16, " Status :");

    console::textcolor(vermelho);
    escreve(61, 37, "     COMANDOS :");
    console::textcolor(branco);
    escreve(63, 38, "A - ESQUERDA");
    escreve(63, 39, "D - DIREITA");
    escreve(63, 40, "W - CIMA");
    escreve(63, 41, "S - BAIXO");
    escreve(63, 42, "ESPACO - TIRO");
    escreve(63, 43, "P - PAUSE");
    escreve(63, 44, "B - ESPECIAL");
    escreve(63, 45, "ESC - SAIR");
    escreve(63, 47, "%s", contato);

    console::textcolor(vermelho);
    escreve(61, 22, "     LEGENDA ");
    console::textcolor(branco);
    escreve(63, 24, "%c : Nave Inimiga", nave);
    escreve(63, 26, "|  : Tiro Inimigo");
    escreve(63, 28, "%c : Meteoro", meteoro);
    escreve(63, 30, "%c : Player", jogador);
    escreve(63, 32, "%c : Vida", vida);
}

// The corners and junctions come last so that they win over the runs of
// lines drawn through their cells.
void cantos_e_divisorias() {
    console::textcolor(branco);
    byte_em(1, 49, canto_inf_esq);
    byte_em(1, 1, canto_sup_esq);
    byte_em(80, 1, canto_sup_dir);
    byte_em(80, 49, canto_inf_dir);

    for (int linha = 1; linha <= 48; ++linha)
        byte_em(60, linha, vertical);
    byte_em(60, 49, juncao_base);
    byte_em(60, 1, juncao_topo);

    for (const int linha : {35, 20}) {
        for (int coluna = 60; coluna <= 79; ++coluna)
            byte_em(coluna, linha, horizontal);
        byte_em(60, linha, juncao_esq);
        byte_em(80, linha, juncao_dir);
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
    console::gotoxy(70, 7);
    console::textcolor(verde);
    console::printf("%c ", nivel);
}

void tiroespecials(int especial) {
    console::gotoxy(78, 9);
    console::textcolor(especial > 1000 ? verde : vermelho);
    console::printf("%c", indicador);
    console::textcolor(branco);
}

} // namespace screens
