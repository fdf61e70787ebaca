#pragma once
// One cell of the field painted at its own screen position, in the colour in
// force. The field never draws itself: each change is painted where it
// happens.

#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/partida.hpp"
#include "screens/paleta.hpp"

#include <cstdint>

namespace game {

inline void apaga(int coluna, int linha) {
    console::gotoxy(coluna, linha);
    console::printf(" ");
}

inline void desenha(int coluna, int linha, std::uint8_t code) {
    console::gotoxy(coluna, linha);
    console::printf("%c", int{screens::glifo(code)});
}

using screens::BRANCO;

} // namespace game
