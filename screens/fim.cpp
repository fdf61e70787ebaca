#include "screens/fim.hpp"

#include "screens/escreve.hpp"
#include "screens/moldura.hpp"
#include "screens/paleta.hpp"
#include "screens/sons.hpp"

namespace screens {

namespace {

void byte_em(int coluna, int linha, int byte) {
    escreve(coluna, linha, "%c", byte);
}

// Drawn in the colour in force: the caller has just cleared the screen.
void caixa() {
    constexpr int esquerda = BORDA_ESQUERDA_DA_CAIXA;
    constexpr int direita = BORDA_DIREITA_DA_CAIXA;
    for (int coluna = esquerda + 1; coluna <= direita - 1; ++coluna)
        for (const int linha : {14, 35, 16, 33})
            byte_em(coluna, linha, HORIZONTAL);
    for (int linha = 15; linha <= 34; ++linha) {
        byte_em(esquerda, linha, VERTICAL);
        byte_em(direita, linha, VERTICAL);
    }
    byte_em(esquerda, 14, CANTO_SUP_ESQ);
    byte_em(esquerda, 35, CANTO_INF_ESQ);
    byte_em(direita, 14, CANTO_SUP_DIR);
    byte_em(direita, 35, CANTO_INF_DIR);
    byte_em(esquerda, 16, JUNCAO_ESQ);
    byte_em(direita, 16, JUNCAO_DIR);
    byte_em(esquerda, 33, JUNCAO_ESQ);
    byte_em(direita, 33, JUNCAO_DIR);
}

void convite() {
    escreve(23, 40, "Pressione 1 Para Comecar Novamente");
    escreve(28, 42, "Ou Pressione 2 Para Sair");
}

} // namespace

void gameover(int pontos, int nivel) {
    caixa();
    console::textcolor(VERMELHO);
    escreve(23, 15, "GAME OVER - GAME OVER - GAME OVER");
    escreve(23, 34, "GAME OVER - GAME OVER - GAME OVER");
    console::textcolor(VERDE);
    escreve(23, 21, "JOGADOR - > ");
    escreve(23, 24, "PONTUACAO - > %i ", pontos);
    // The level is held as its key character.
    escreve(23, 27, "NIVEL - > %i ", nivel - '0');
    convite();
}

void zerado() {
    caixa();
    console::textcolor(VERDE);
    escreve(30, 15, "PARABENS - JOGO TERMINADO");
    escreve(30, 34, "PARABENS - JOGO TERMINADO");
    escreve(23, 21, "Por : Quenvar");
    escreve(23, 24, "1o Periodo Sistemas De Informacao");
    escreve(23, 27, "Lorvena");
    convite();
    tune_zerado();
}

} // namespace screens
