#include "soak_player.hpp"

#include <string_view>

namespace soak {

unsigned SoakPlayer::draw() {
    state_ = state_ * 1103515245u + 12345u;
    return state_ >> 8;
}

void SoakPlayer::before_frame(const game::Partida& p, console::MemoryPlatform& platform) {
    if (platform.keys_left() != 0)
        return;
    const std::int64_t now = platform.now_ms();
    const unsigned d = draw();
    if (d % 5 >= 3)
        return;
    constexpr int charge_needed = 951;
    if (p.especial >= charge_needed && (d >> 4) % 3 == 0) {
        platform.push_key((d >> 6) % 2 == 0 ? 'b' : 'B', now);
        return;
    }
    if ((d >> 4) % 97 == 0) {
        // The pause, and the key that ends it.
        platform.push_key('p', now);
        platform.push_key('x', now);
        return;
    }
    // Mostly moves and shots, in both cases; the arrows and a stray letter
    // do nothing in play but still end the frame's key test.
    constexpr std::string_view keys = "     aadd ww s AD WS z";
    const unsigned which = (d >> 8) % (keys.size() + 1);
    if (which == keys.size()) {
        platform.push_key(224, now);
        platform.push_key(72, now); // up arrow: a prefix, then its code
        return;
    }
    platform.push_key(keys[which], now);
}

} // namespace soak
