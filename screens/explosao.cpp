#include "screens/explosao.hpp"

#include "screens/escreve.hpp"
#include "screens/paleta.hpp"

namespace screens {

void explosao(int coluna, int linha) {
    console::textcolor(BRANCO);
    escreve(coluna, linha, " ");
    escreve(coluna, linha, "*");
    escreve(coluna + 1, linha, "-");
    escreve(coluna - 1, linha, "-");
    escreve(coluna, linha - 1, "|");
    escreve(coluna, linha + 1, "|");
    escreve(coluna - 1, linha - 1, "\\");
    escreve(coluna + 1, linha - 1, "/");
    escreve(coluna - 1, linha + 1, "/");
    escreve(coluna + 1, linha + 1, "\\");

    console::_sleep(50);
    console::_beep(100, 125);

    // Blind wipe: the burst never looks at what it covered.
    escreve(coluna, linha, " ");
    escreve(coluna + 1, linha, " ");
    escreve(coluna - 1, linha, " ");
    escreve(coluna, linha - 1, " ");
    escreve(coluna, linha + 1, " ");
    escreve(coluna - 1, linha - 1, " ");
    escreve(coluna + 1, linha - 1, " ");
    escreve(coluna - 1, linha + 1, " ");
    escreve(coluna + 1, linha + 1, " ");
}

} // namespace screens
