#pragma once
// One cell of the field painted at its own screen position, in the colour in
// force. The field never draws itself: each change is painted where it
// happens.

#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/partida.hpp"

#include <cstdint>

namespace game {

inline void apaga(int coluna, int linha) {
    console::gotoxy(coluna, linha);
    console::printf(" ");
}

// A cell code is its own glyph, but for the enemy shot's bar.
inline void desenha(int coluna, int linha, std::uint8_t code) {
    console::gotoxy(coluna, linha);
    if (code == TIRO_INIMIGO)
        console::printf("|");
    else
        console::printf("%c", static_cast<int>(code));
}

inline constexpr int BRANCO = 15;
inline constexpr int VERDE = 2;
inline constexpr int VERMELHO = 4;
inline constexpr int AMARELO = 14;

} // namespace game
