#pragma once
// One cell of the field painted at its own screen position, in the colour in
// force. The field never draws itself: each change is painted where it
// happens.

#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/partida.hpp"
#include "screens/painel.hpp"
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

// The phases look at the field from column and row 1 down to the frame's
// last row. The shots, the special shot and the enemy fire stop one column
// short of the area's right edge; the ships' repaint takes the whole area.
inline constexpr int ULTIMA_LINHA_VARRIDA = screens::ULTIMA_LINHA_DA_MOLDURA;
inline constexpr int ULTIMA_COLUNA_VARRIDA = screens::ULTIMA_COLUNA_DA_AREA - 1;

} // namespace game
