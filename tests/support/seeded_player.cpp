#include "support/seeded_player.hpp"

#include <string_view>

namespace teste {
namespace {

// Towards the cell below the first extra life in the area where they appear.
int towards_a_life(const game::Partida& p) {
    for (int r = 3; r <= 32; ++r) {
        for (int c = 3; c <= 52; ++c) {
            if (p.campo.at(c, r) != game::VIDA)
                continue;
            if (p.jogadorx < c)
                return 'd';
            if (p.jogadorx > c)
                return 'a';
            return p.jogadory > r + 1 ? 'w' : 's';
        }
    }
    return 0;
}

} // namespace

unsigned SeededPlayer::draw() {
    state_ = state_ * 1103515245u + 12345u;
    return state_ >> 8;
}

std::vector<int> SeededPlayer::keys(const game::Partida& p) {
    const unsigned d = draw();
    // A key in three frames out of five, as a busy player types.
    if (d % 5 >= 3)
        return {};
    constexpr int charge_needed = 951;
    if (p.especial >= charge_needed && (d >> 4) % 3 == 0)
        return {(d >> 6) % 2 == 0 ? 'b' : 'B'};
    if ((d >> 4) % 97 == 0)
        return {'p', 'x'};
    if (const int key = towards_a_life(p); key != 0 && (d >> 5) % 4 != 0)
        return {key};
    // Mostly moves and shots, in both cases; the arrow and a stray letter do
    // nothing in play but still end the frame's key test.
    constexpr std::string_view wander = "     aadd ww s AD WS z";
    const unsigned which = (d >> 8) % (wander.size() + 1);
    if (which == wander.size())
        return {PREFIXO_DE_SETA, SETA_ACIMA};
    return {wander[which]};
}

} // namespace teste
