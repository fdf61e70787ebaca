#pragma once

#include "game/partida.hpp"

namespace game {

// The whole session on the installed console: title, games, end screens,
// until the player leaves. Returns the exit status, 100.
int sessao();

// One started game played to its end, frame by frame, and its end screen;
// true when the player chose to play again.
bool joga(Partida& p);

} // namespace game
