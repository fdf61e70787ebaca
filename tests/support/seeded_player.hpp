#pragma once
// A seeded player for whole games: wanders, fires often, walks up to the
// extra lives it sees, spends the special shot when charged, now and then
// pauses or presses keys that are no command. It never presses Esc, so a
// game ends only by its own rules. The same seed plays the same game.

#include "game/partida.hpp"

#include <vector>

namespace teste {

class SeededPlayer {
  public:
    explicit SeededPlayer(unsigned seed) : state_(seed) {}
    // The codes to type before the next frame, as the game reads them: none,
    // one key, the pause and the key that ends it, or an arrow's two codes.
    std::vector<int> keys(const game::Partida& p);

  private:
    unsigned draw();
    unsigned state_;
};

// The arrow's codes: a prefix, then its own.
inline constexpr int PREFIXO_DE_SETA = 224;
inline constexpr int SETA_ACIMA = 72;

} // namespace teste
