#include "screens/ocultarampliar.hpp"

#include "console/services.hpp"

namespace screens {

void ocultarampliar() {
    console::SetConsoleCursorInfo(100, false);
    console::request_full_screen();
}

} // namespace screens
