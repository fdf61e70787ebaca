#include "scripted_player.hpp"

#include <string_view>

namespace bench {

int ScriptedPlayer::next_key(const game::Partida& p) {
    state_ = state_ * 1103515245u + 12345u;
    const unsigned draw = state_ >> 8;
    // A key in three frames out of five, as a busy player types.
    if (draw % 5 >= 3)
        return 0;
    constexpr int charge_needed = 951;
    if (p.especial >= charge_needed && (draw >> 4) % 4 == 0)
        return 'b';
    constexpr std::string_view keys = "    aa dd ww s";
    return keys[(draw >> 8) % keys.size()];
}

} // namespace bench
