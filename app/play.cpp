#include "app/play.hpp"

#include "app/seeded_clock.hpp"
#include "app/silent_tones.hpp"
#include "console/current.hpp"
#include "game/sessao.hpp"

#include <optional>

namespace app {

int play(const Options& options, console::ScreenBuffer& screen, console::Platform& machine) {
    // Each option wraps the platform the game will call; with none, the
    // game calls the installed one itself.
    console::Platform* platform = &machine;
    game::Observador nobody;
    game::Observador* observer = &nobody;

    std::optional<SilentTones> silent;
    if (options.mute)
        platform = &silent.emplace(*platform);
    std::optional<SeededClock> seeded;
    if (options.seed) {
        platform = &seeded.emplace(*platform, *options.seed);
        observer = &*seeded;
    }

    const console::Installation installation(screen, *platform);
    return game::sessao(*observer);
}

} // namespace app
