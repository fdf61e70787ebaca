#pragma once
// A game in full swing, for measuring a frame at its busiest: a started
// level-1 game with many ships, meteors and shots of both kinds placed in
// the playing area and painted as the game paints them.

#include "game/partida.hpp"

namespace bench {

struct Load {
    int ships = 30;
    int meteors = 40;
    int shots = 20;
    int enemy_shots = 20;
};

// On the installed console; the same seed gives the same field.
game::Partida busy_game(unsigned seed, Load load = {});

} // namespace bench
