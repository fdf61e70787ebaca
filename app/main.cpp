#include "console/native.hpp"
#include "game/sessao.hpp"

int main() {
    return console::run_on_native_console([] { return game::sessao(); });
}
