#pragma once
// Every screen text is a cursor move followed by one formatted print.

#include "console/services.hpp"
#include "console/text_layer.hpp"

#include <string_view>

namespace screens {

template <class... Args>
void escreve(int coluna, int linha, std::string_view formato, const Args&... args) {
    console::gotoxy(coluna, linha);
    console::printf(formato, args...);
}

} // namespace screens
