#pragma once
// A seeded player for long games: wanders, fires often, spends the special
// shot when charged, now and then pauses or presses keys that are no
// command. It never presses Esc, so a game ends only by its own rules.

#include "console/memory_console.hpp"
#include "game/partida.hpp"

namespace soak {

class SoakPlayer {
  public:
    explicit SoakPlayer(unsigned seed) : state_(seed) {}
    // Types what the next frame will read, if anything.
    void before_frame(const game::Partida& p, console::MemoryPlatform& platform);

  private:
    unsigned draw();
    unsigned state_;
};

} // namespace soak
