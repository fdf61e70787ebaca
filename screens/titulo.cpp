#include "screens/titulo.hpp"

#include "screens/celulas.hpp"
#include "screens/contato.hpp"
#include "screens/escreve.hpp"
#include "screens/explosao.hpp"
#include "screens/paleta.hpp"
#include "screens/sons.hpp"

#include <array>
#include <cstddef>
#include <string_view>

namespace screens {

namespace {

// Each line has its fixed width, trailing blanks included.
constexpr std::array<std::string_view, 6> titulo{
    R"(________          ___.     .__    __           .__)",
    R"(\_____  \  ______ \_ |__   |__| _/  |_ ______  |__| ___  ___    )",
    R"( /   |   \ \_  _ \ | __ \  |  | \   _\ \_  _ \ |  | \  \/  /    )",
    R"(/    |    \ |  |\/ | \_\ \ |  |  |  |   |  |\/ |  |  >    <     )",
    R"(\_______  / |__|   |___  / |__|  |__|   |__|   |__| /__/\_ \ )",
    R"(        \/             \/                                 \/   )",
};
static_assert(titulo[0].size() == 50 && titulo[1].size() == 64 && titulo[2].size() == 64 &&
              titulo[3].size() == 64 && titulo[4].size() == 61 && titulo[5].size() == 63);

constexpr std::array<std::string_view, 6> versao{
    R"(         ____     _______   )", R"(___  __ /_   |    \   _  \ )",
    R"(\  \/ /  |   |    /  /_\  \)",  R"( \   /   |   |    \  \_/   \)",
    R"(  \_/    |___| /\  \_____  /)", R"(               \/        \/ )",
};

constexpr std::string_view credito = "Por Quenvar";
// The longer pause falls between "Quen" and "var".
constexpr std::size_t pausa_longa_antes_de = 8;

constexpr int coluna_do_tiro = 38;

int cor_aleatoria() {
    return console::rand() % 15 + 1;
}

void pausa() {
    console::_sleep(50);
}

void banner_do_titulo() {
    for (std::size_t i = 0; i < titulo.size(); ++i) {
        if (i == 1)
            pausa();
        pausa();
        console::gotoxy(10, 3 + static_cast<int>(i));
        pausa();
        console::textcolor(cor_aleatoria());
        pausa();
        console::printf("%s", titulo[i]);
    }
}

void banner_da_versao() {
    pausa();
    console::textcolor(cor_aleatoria());
    pausa();
    pausa();
    for (std::size_t i = 0; i < versao.size(); ++i) {
        escreve(25, 41 + static_cast<int>(i), "%s", versao[i]);
        pausa();
        if (i + 1 < versao.size())
            pausa();
    }
}

// The ship at row 37 fires one shot that climbs to row 10; it bursts on
// reaching row 11, to the title tune.
void tiro_de_abertura() {
    console::textcolor(BRANCO);
    escreve(coluna_do_tiro, 37, "%c", int{JOGADOR});
    console::Beep(634, 10);
    for (int v = 39; v >= 14; --v) {
        pausa();
        escreve(coluna_do_tiro, v - 4, "|");
        escreve(coluna_do_tiro, v - 3, " ");
        if (v == 15) {
            explosao(coluna_do_tiro, 10);
            tune_titulo();
        }
    }
    escreve(coluna_do_tiro, 10, " ");
}

} // namespace

void assinatura(int linha, int coluna) {
    console::gotoxy(coluna + 4, linha + 1);
    console::printf("%c", credito[0]);
    for (std::size_t i = 1; i < credito.size(); ++i) {
        console::Beep(634, 10);
        console::_sleep(i == pausa_longa_antes_de ? 70 : 15);
        console::printf("%c", credito[i]);
    }
    escreve(coluna + 4, linha + 3, "%s", contato);
}

int apresentacao() {
    console::srand(static_cast<unsigned>(console::time()));
    banner_do_titulo();
    banner_da_versao();
    tiro_de_abertura();

    console::textcolor(VERDE);
    escreve(15, 20, "1 - Jogar");
    escreve(15, 22, "2 - Sair");
    const int tecla = console::_getch();
    if (tecla == '1') {
        escreve(PEDIDO_DO_NOME.coluna, PEDIDO_DO_NOME.linha, PEDE_O_NOME);
        console::textcolor(VERMELHO);
        escreve(15, 25, "EM SEGUIDA, VOCE ESCOLHERA O NIVEL");
        console::textcolor(VERDE);
    } else {
        escreve(15, 22, "Ate O Proximo Jogo");
        console::_sleep(2000);
    }
    console::textbackground(PRETO);
    console::textcolor(BRANCO);
    return tecla;
}

} // namespace screens
