#pragma once

namespace screens {

// A screen position, 1-based from the window's top left.
struct Posicao {
    int coluna;
    int linha;
};

} // namespace screens
