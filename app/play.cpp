#include "app/play.hpp"

#include "app/observers.hpp"
#include "app/seeded_clock.hpp"
#include "app/silent_tones.hpp"
#include "console/current.hpp"
#include "game/sessao.hpp"

#include <optional>
#include <utility>
#include <vector>

namespace app {

int play(const Options& options, console::ScreenBuffer& screen, console::Platform& machine) {
    game::Observador nobody;
    return play(options, screen, machine, nobody);
}

int play(const Options& options, console::ScreenBuffer& screen, console::Platform& machine,
         game::Observador& record) {
    // Each option wraps the platform the game will call; with none, the
    // game calls the installed one itself.
    console::Platform* platform = &machine;
    std::vector<game::Observador*> observers{&record};

    std::optional<SilentTones> silent;
    if (options.mute)
        platform = &silent.emplace(*platform);
    std::optional<SeededClock> seeded;
    if (options.seed) {
        platform = &seeded.emplace(*platform, *options.seed);
        observers.push_back(&*seeded);
    }

    const console::Installation installation(screen, *platform);
    Observers all(std::move(observers));
    return game::sessao(all);
}

} // namespace app
