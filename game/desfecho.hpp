#pragma once
// The two ways a game ends, each with its screen and the player's answer.
// Both return true when the player chose to play again.

#include "game/partida.hpp"

namespace game {

// The last life is gone.
bool fim_gameover(Partida& p);
// The score reached 30000.
bool fim_zerado(Partida& p);

} // namespace game
