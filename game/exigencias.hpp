#pragma once
// What the game asks of the console it runs on: room for its 80x49 screens,
// and what a terminal too small for them shows until it grows.

#include "console/native.hpp"

namespace game {

console::NativeNeeds exigencias_do_console();

} // namespace game
