#pragma once
// A game's result in words: how it ended, and how a replayed game differs
// from the recorded one.

#include "game/resultado.hpp"

#include <string>
#include <string_view>

namespace replay {

// How the replayed game differs from the recorded one, in English, for
// the error that says so; empty when it does not.
std::string result_difference(const game::Resultado& replayed, const game::Resultado& recorded);

// A game's ending as the player reads it: perdeu, venceu or saiu.
std::string_view ending_text(game::Desfecho ending);

} // namespace replay
