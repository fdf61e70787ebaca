#include "game/exigencias.hpp"

#include <string>
#include <vector>

namespace game {
namespace {

constexpr console::Size TELA_DO_JOGO{80, 49};

std::string tamanho(console::Size s) {
    return std::to_string(s.columns) + " colunas x " + std::to_string(s.rows) + " linhas";
}

std::vector<std::string> aviso_de_tamanho(console::Size tem, console::Size precisa) {
    return {
        "Terminal pequeno demais.",
        "O jogo precisa de " + tamanho(precisa) + ";",
        "este tem " + tamanho(tem) + ".",
        "Aumente a janela e o jogo continua.",
        // No key reaches the game while this is shown, so say what still works.
        "Ctrl-C encerra o jogo.",
    };
}

} // namespace

console::NativeNeeds exigencias_do_console() {
    return console::NativeNeeds{TELA_DO_JOGO, aviso_de_tamanho};
}

} // namespace game
