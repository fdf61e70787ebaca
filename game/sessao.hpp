#pragma once

namespace game {

// The whole session on the installed console: title, games, end screens,
// until the player leaves. Returns the exit status, 100.
int sessao();

} // namespace game
