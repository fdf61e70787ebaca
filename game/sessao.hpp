#pragma once

#include "game/partida.hpp"
#include "game/resultado.hpp"

namespace game {

// The whole session on the installed console: title, games, end screens,
// until the player leaves. Returns the exit status, 100.
int sessao();
int sessao(Observador& observador);

// One started game played to its end, frame by frame, and its end screen;
// true when the player chose to play again.
bool joga(Partida& p);
bool joga(Partida& p, Observador& observador);

} // namespace game
