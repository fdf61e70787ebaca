#pragma once
// A game on the in-memory console, looked at the way the player sees it:
// tela is what a screen cell shows, texto a run of them, em what the field
// holds at a cell.

#include "console/memory_console.hpp"
#include "console/text_layer.hpp"
#include "game/partida.hpp"
#include "screens/paleta.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace teste {

using screens::AMARELO;
using screens::BRANCO;
using screens::VERDE;
using screens::VERMELHO;

struct JogoNaMemoria : ::testing::Test {
    console::MemoryConsole con;
    game::Partida p;

    console::Cell tela(int coluna, int linha) const { return con.screen.at(coluna, linha); }
    std::string texto(int coluna, int linha, int n) const {
        return con.screen.text(coluna, linha, n);
    }
    std::uint8_t em(int coluna, int linha) const { return p.campo.at(coluna, linha); }
    bool tela_mostra(std::string_view procurado) const {
        for (int r = 1; r <= game::LINHAS; ++r)
            if (con.screen.row_text(r).find(procurado) != std::string::npos)
                return true;
        return false;
    }

    // Every phase and screen hands the colour back white on black.
    void branco_em_vigor() const {
        EXPECT_EQ(con.screen.attribute(), BRANCO);
        EXPECT_EQ(console::layer_state().FOREGROUND, BRANCO);
        EXPECT_EQ(console::layer_state().BACKGROUND, screens::PRETO);
    }

    void sorteios(std::initializer_list<int> draws) { con.platform.script_rand(draws); }
    void sorteios_usados(std::size_t n) const {
        EXPECT_EQ(con.platform.rand_calls(), n);
        EXPECT_EQ(con.platform.scripted_draws_left(), 0u);
    }
    // The tones played, without their start times, one tune after another.
    std::vector<std::pair<int, int>> tons() const {
        std::vector<std::pair<int, int>> out;
        for (const console::Tone& t : con.platform.tones())
            out.emplace_back(t.hz, t.ms);
        return out;
    }
    int quantas_vezes_dormiu(int ms) const {
        int n = 0;
        for (const int s : con.platform.sleeps())
            n += s == ms ? 1 : 0;
        return n;
    }
};

} // namespace teste
