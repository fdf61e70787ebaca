#include "screens/fim.hpp"

#include "screens/efeitos.hpp"
#include "screens/escreve.hpp"

namespace screens {

namespace {

constexpr int verde = 2;
constexpr int vermelho = 4;

void byte_em(int coluna, int linha, int byte) {
    escreve(coluna, linha, "%c", byte);
}

// Drawn in the colour in force: the caller has just cleared the screen.
void caixa() {
    for (int coluna = 20; coluna <= 59; ++coluna)
        for (const int linha : {14, 35, 16, 33})
            byte_em(coluna, linha, 205);
    for (int linha = 15; linha <= 34; ++linha) {
        byte_em(19, linha, 186);
        byte_em(60, linha, 186);
    }
    byte_em(19, 14, 201);
    byte_em(19, 35, 200);
    byte_em(60, 14, 187);
    byte_em(60, 35, 188);
    byte_em(19, 16, 204);
    byte_em(60, 16, 185);
    byte_em(19, 33, 204);
    byte_em(60, 33, 185);
}

void convite() {
    escreve(23, 40, "Pressione 1 Para Comecar Novamente");
    escreve(28, 42, "Ou Pressione 2 Para Sair");
}

} // namespace

void gameover(int pontos, int nivel) {
    caixa();
    console::textcolor(vermelho);
    escreve(23, 15, "GAME OVER - GAME OVER - GAME OVER");
    escreve(23, 34, "GAME OVER - GAME OVER - GAME OVER");
    console::textcolor(verde);
    escreve(23, 21, "JOGADOR - > ");
    escreve(23, 24, "PONTUACAO - > %i ", pontos);
    // The level is held as its key character.
    escreve(23, 27, "NIVEL - > %i ", nivel - '0');
    convite();
}

void zerado() {
    caixa();
    console::textcolor(verde);
    escreve(30, 15, "PARABENS - JOGO TERMINADO");
    escreve(30, 34, "PARABENS - JOGO TERMINADO");
    escreve(23, 21, "Por : Quenvar");
    escreve(23, 24, "1o Periodo Sistemas De Informacao");
    escreve(23, 27, "Lorvena");
    convite();
    tune_zerado();
}

} // namespace screens
