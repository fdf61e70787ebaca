#include "screens/niveis.hpp"

#include "screens/escreve.hpp"
#include "screens/paleta.hpp"

namespace screens {

// Every text hangs off one anchor so the block moves as a whole; the blanks
// around some texts cover what the title screen left at the same place.
void niveis() {
    constexpr int c = 15;
    constexpr int r = 10;
    constexpr int seta = 25;
    constexpr int marca = 22;

    escreve(c, r, "Niveis %c", seta);
    escreve(c + 3, r + 2, "Em Relacao Ao Player");
    escreve(c + 5, r + 4, "%c Maior Delay De Tiro E Movimentacao", marca);
    escreve(c + 5, r + 5, "%c Menor Numero De Vidas", marca);
    escreve(c + 3, r + 7, "Em Relacao Ao Inimigo         ");
    escreve(c + 5, r + 9, "%c Maior Numero De Meteoros", marca);
    escreve(c - 3, r + 10, "        %c Maior Numero De Naves", marca);
    escreve(c + 5, r + 11, "%c Menor Delay De Tiro", marca);
    escreve(c - 3, r + 12, "        %c Maior Numero De Meteoro E Naves", marca);
    escreve(c + 5, r + 13, "%c Maior Velocidade Dos Meteoros", marca);
    escreve(c, r + 15, "   Escolha Um Nivel        ");
    escreve(c + 5, r + 17, "Nivel 1 - Easy");
    escreve(c + 5, r + 18, "Nivel 2 - Medium");
    escreve(c + 5, r + 19, "Nivel 3 - Hard");
    escreve(c + 5, r + 20, "Nivel 4 - Extreme");

    // The caller reads the level key with the red lines last on screen and
    // sets its own colour afterwards.
    console::textcolor(VERMELHO);
    escreve(c + 5, r + 23, "A CADA 5000 PONTOS O NIVEL AUMENTARA AUTOMATICAMENTE");
    escreve(c + 5, r + 25, "Ao Completar 30.000 Pontos, O Jogo Termina.");
}

} // namespace screens
