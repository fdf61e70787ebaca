#pragma once
// A game on the in-memory console for the session's tests: started through
// the real start-up with scripted keys, or set up calm, with nothing in the
// field but the player, so a frame does only what the test puts there.

#include "console/memory_console.hpp"
#include "console/text_layer.hpp"
#include "game/fases.hpp"
#include "game/partida.hpp"
#include "screens/titulo.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace jogo_teste {

inline constexpr std::uint16_t BRANCO = 15;
inline constexpr std::uint16_t VERDE = 2;
inline constexpr std::uint16_t VERMELHO = 4;
inline constexpr int ESC = 27;

// Whether the title waits for its menu key before the name prompt (a
// stand-in title may not). Asked once, on a console of its own: call it
// before a test installs its console, as installing resets the text layer.
inline bool titulo_pede_tecla() {
    static const bool pede = [] {
        console::MemoryConsole scratch;
        try {
            screens::apresentacao();
            return false;
        } catch (const console::ScriptExhausted&) {
            return true;
        }
    }();
    return pede;
}

// Whether a meteor straight above the ship costs a life (a stand-in for the
// hostiles may not). Asked once, like titulo_pede_tecla.
inline bool meteoro_fere() {
    static const bool fere = [] {
        console::MemoryConsole scratch;
        game::Partida p;
        p.vidas = 2;
        p.campo.set(p.jogadorx, p.jogadory - 1, game::METEORO);
        game::fase_contatos(p);
        return p.vidas == 1;
    }();
    return fere;
}

// The keys of one start-up: the menu key when the title wants one, the
// name line and the level key.
inline void roteiro_inicio(console::MemoryPlatform& platform, std::string_view nome, int nivel,
                           std::int64_t at_ms = 0) {
    if (titulo_pede_tecla())
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

struct Jogo : ::testing::Test {
    // Before the console: see titulo_pede_tecla.
    const bool menu = titulo_pede_tecla();
    const bool fere = meteoro_fere();
    console::MemoryConsole con;
    game::Partida p;

    std::string tela(int coluna, int linha, int n) const {
        return con.screen.text(coluna, linha, n);
    }
    console::Cell em(int coluna, int linha) const { return con.screen.at(coluna, linha); }
    bool tela_mostra(std::string_view texto) const {
        for (int r = 1; r <= game::LINHAS; ++r)
            if (con.screen.row_text(r).find(texto) != std::string::npos)
                return true;
        return false;
    }
    int quantas_vezes_dormiu(int ms) const {
        int n = 0;
        for (const int s : con.platform.sleeps())
            n += s == ms ? 1 : 0;
        return n;
    }
    void branco_em_vigor() const {
        EXPECT_EQ(con.screen.attribute(), BRANCO);
        EXPECT_EQ(console::layer_state().FOREGROUND, 15);
        EXPECT_EQ(console::layer_state().BACKGROUND, 0);
    }
};

} // namespace jogo_teste
