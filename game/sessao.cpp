// Placeholder until the game lands.
#include "game/sessao.hpp"

namespace game {
int sessao() {
    return 100;
}
} // namespace game
