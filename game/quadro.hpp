#pragma once
// One frame of play, every phase in frame order. The loop around it (while
// the player has a life) belongs to the caller, so a game can also be run
// frame by frame.

#include "game/partida.hpp"

namespace game {

enum class Fim {
    continua, // the game goes on
    esc,      // the frame stopped at its ESC test, before drawing anything
    completo, // the score reached 30000 in a frame that read a key
};

Fim quadro(Partida& p);

} // namespace game
