#pragma once

namespace screens {

// A screen position, 1-based from the window's top left.
struct Posicao {
    int coluna;
    int linha;
};

// The screens are laid out for a window 80 columns wide.
inline constexpr int ULTIMA_COLUNA_DA_TELA = 80;

// The cells a text written from `coluna` has before its row ends.
inline constexpr int resta_na_linha(int coluna) {
    return ULTIMA_COLUNA_DA_TELA - coluna + 1;
}

} // namespace screens
