#include "console/current.hpp"
#include "console/native.hpp"
#include "game/exigencias.hpp"
#include "game/sessao.hpp"

#include <cstdio>

int main() {
    const console::NativeOutcome outcome = console::run_on_native_console(
        game::exigencias_do_console(),
        [](console::ScreenBuffer& screen, console::Platform& platform) {
            const console::Installation installation(screen, platform);
            return game::sessao();
        });
    if (outcome.problem != console::NativeProblem::none)
        std::fprintf(stderr, "orbitrix: %s\n", outcome.detail.c_str());
    return outcome.status;
}
