#pragma once
// A game on the in-memory console for the session's tests: started through
// the real start-up with scripted keys, or set up calm, with nothing in the
// field but the player, so a frame does only what the test puts there.

#include "console/memory_console.hpp"
#include "game/partida.hpp"
#include "support/jogo_na_memoria.hpp"

#include <cstdint>
#include <string_view>

namespace jogo_teste {

using teste::BRANCO;
using teste::VERDE;
using teste::VERMELHO;
inline constexpr int ESC = 27;

// The keys of one start-up: the menu key, the name line and the level key.
inline void roteiro_inicio(console::MemoryPlatform& platform, std::string_view nome, int nivel,
                           std::int64_t at_ms = 0) {
    platform.push_key('1', at_ms);
    platform.push_keys(nome, at_ms);
    platform.push_key('\r', at_ms);
    platform.push_key(nivel, at_ms);
}

// A level outside the table keeps these parameters: no ship, meteor or
// enemy shot ever appears or moves, and only the rare extra life shows up
// (never next to a player standing below row 33).
inline void acalma(game::Partida& p, int atraso = 40) {
    const int x = p.jogadorx;
    const int y = p.jogadory;
    p.campo.clear();
    p.campo.set(x, y, game::JOGADOR);
    p.nivel = '9';
    p.etapa = 1;
    p.vidas = 3;
    p.parametros = game::NivelParametros{199, 99, 99, 99, atraso};
}

using Jogo = teste::JogoNaMemoria;

} // namespace jogo_teste
