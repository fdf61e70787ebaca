#pragma once
// What a cell of the play field can hold, and the byte each is shown with.
// A code doubles as its own glyph in the console's code page, but for the
// empty cell and the enemy shot's bar.

#include "screens/paleta.hpp"

#include <cstdint>

namespace screens {

inline constexpr std::uint8_t VAZIO = 0;
inline constexpr std::uint8_t ESPECIAL = 2;
inline constexpr std::uint8_t VIDA = 3;
inline constexpr std::uint8_t NAVE = 12;
inline constexpr std::uint8_t METEORO = 15;
inline constexpr std::uint8_t TIRO = 33;
inline constexpr std::uint8_t TIRO_INIMIGO = 34;
inline constexpr std::uint8_t JOGADOR = 190;

inline constexpr std::uint8_t glifo(std::uint8_t code) {
    if (code == VAZIO)
        return ' ';
    if (code == TIRO_INIMIGO)
        return '|';
    return code;
}

// The colour a code is painted in where it moves or is redrawn. A ship just
// moved shows in the colour in force (white) until its next repaint.
inline constexpr int cor_de(std::uint8_t code) {
    switch (code) {
    case NAVE:
        return VERDE;
    case METEORO:
        return VERMELHO;
    case TIRO_INIMIGO:
        return AMARELO;
    default:
        return BRANCO;
    }
}

} // namespace screens
