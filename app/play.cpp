#include "app/play.hpp"

#include "app/arrow_keys.hpp"
#include "app/observers.hpp"
#include "app/seeded_clock.hpp"
#include "app/silent_tones.hpp"
#include "console/current.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"
#include "replay/recording_platform.hpp"
#include "replay/replaying_platform.hpp"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace app {

int play(const Options& options, console::ScreenBuffer& screen, console::Platform& machine) {
    game::Observador nobody;
    return play(options, screen, machine, nobody, nullptr);
}

namespace {

// A layer, when given, goes under the recording, so the recording holds
// what it answers (a dealt seed), and hears every game.
struct Layered {
    console::Platform* platform;
    game::Observador* observer;
};
using Layer = std::function<Layered(console::Platform& inner)>;

int play_with(const Options& options, console::ScreenBuffer& screen, console::Platform& machine,
              game::Observador& record, std::ostream* recording, const Layer& layer) {
    // Each option wraps the platform installed for the game; with none, the
    // game talks to the machine's own.
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
    if (layer) {
        const Layered layered = layer(*platform);
        platform = layered.platform;
        observers.push_back(layered.observer);
    }

    std::optional<ArrowKeys> arrows;
    if (options.arrows)
        platform = &arrows.emplace(*platform);

    // Outside the seed and the arrows, so the recording holds what the game
    // was given and replays without them.
    std::optional<replay::RecordingPlatform> recorder;
    if (recording != nullptr) {
        platform = &recorder.emplace(*platform, *recording);
        observers.push_back(&*recorder);
    }

    const console::Installation installation(screen, *platform);
    Observers all(std::move(observers));
    return game::sessao(all);
}

} // namespace

int play(const Options& options, console::ScreenBuffer& screen, console::Platform& machine,
         game::Observador& record, std::ostream* recording) {
    return play_with(options, screen, machine, record, recording, Layer{});
}

#ifdef ORBITRIX_LIVE
int play(const Options& options, console::ScreenBuffer& screen, console::Platform& machine,
         game::Observador& record, std::ostream& recording, live::Session& session) {
    std::optional<live::LivePlatform> dealt;
    live::FeedTee streamed(recording, session.feed());
    const Layer layer = [&](console::Platform& inner) {
        auto& live = dealt.emplace(
            inner, session.feed(),
            [&](const std::string& name, int level) { return session.deal(name, level); },
            live::steady_ms);
        return Layered{&live, &live};
    };
    return play_with(options, screen, machine, record, &streamed, layer);
}
#endif

int replay_session(const Options& options, const replay::Recording& recording,
                   console::ScreenBuffer& screen, console::Platform& machine, bool& ran_out) {
    console::Platform* platform = &machine;
    std::optional<SilentTones> silent;
    if (options.mute)
        platform = &silent.emplace(*platform);
    replay::ReplayingPlatform player(*platform, recording, replay::Pace{options.speed, true});
    const console::Installation installation(screen, player);
    try {
        return game::sessao();
    } catch (const console::SessionEnded&) {
        ran_out = player.ran_out();
        throw;
    }
}

} // namespace app
