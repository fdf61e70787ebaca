#pragma once
// A player for the benchmark games: a seeded wander over the field, firing
// often and the special shot whenever it is charged. It never pauses and
// never leaves, so a game only ends by its own rules.

#include "game/partida.hpp"

namespace bench {

class ScriptedPlayer {
  public:
    explicit ScriptedPlayer(unsigned seed) : state_(seed) {}
    // The key to type before the next frame; 0 for none.
    int next_key(const game::Partida& p);

  private:
    unsigned state_;
};

} // namespace bench
