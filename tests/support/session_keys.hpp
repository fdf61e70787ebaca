#pragma once
// What the seeded players of whole recorded sessions share: the draw their
// keys come from, the keys of play, and the session recorded in memory with
// such a player answering every screen.

#include "console/memory_console.hpp"
#include "game/sessao.hpp"
#include "replay/recording_platform.hpp"
#include "support/both_observers.hpp"

#include <limits>
#include <sstream>
#include <string>
#include <string_view>

namespace teste {

// The same seed draws the same numbers, on every platform.
class KeyDraw {
  public:
    explicit KeyDraw(unsigned seed) : state_(seed) {}
    unsigned next() {
        state_ = state_ * 1103515245u + 12345u;
        return state_ >> 8;
    }
    // A key of play for a draw: mostly none, moves and shots, now and then
    // the special shot.
    static int play_key(unsigned d) {
        constexpr std::string_view keys = "     aadd ww s bB";
        return keys[(d >> 8) % keys.size()];
    }

  private:
    unsigned state_;
};

// The session's recording, with `player` as the console's platform and told
// of each game; it has no time limit of its own.
template <class Player> void record_session(Player& player, std::ostream& out) {
    console::MemoryScreen screen;
    player.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
    replay::RecordingPlatform recorder(player, out);
    BothObservers both(recorder, player);
    {
        const console::Installation installed(screen, recorder);
        game::sessao(both);
    }
}

template <class Player> std::string recorded_session(Player& player) {
    std::ostringstream out;
    record_session(player, out);
    return out.str();
}

} // namespace teste
