#pragma once
// The start-up of one game, from a cleared console to the first frame.

#include "game/partida.hpp"
#include "game/resultado.hpp"

namespace game {

// Both halves below, the observer told between them; false when the player
// leaves at the title menu.
bool inicio(Partida& p, Observador& observador);
bool inicio(Partida& p);

// A fresh game, then the credit, the title menu, the name prompt and the
// level screen up to the level key; false when the player leaves instead.
bool abertura(Partida& p);

// The play screen with the player and the first five ships, for a game whose
// name and level are set: what a game needs before its first frame.
void monta_jogo(Partida& p);

} // namespace game
