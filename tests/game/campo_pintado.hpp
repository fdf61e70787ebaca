#pragma once
// A play field painted the way the game paints it, on the in-memory console,
// and what changed on the screen since a moment of the test.

#include "console/memory_console.hpp"
#include "console/text_layer.hpp"
#include "game/partida.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

namespace teste {

using Posicao = std::pair<int, int>; // (column, row)
using Posicoes = std::set<Posicao>;

inline constexpr std::uint16_t BRANCO = 15;
inline constexpr std::uint16_t VERDE = 2;
inline constexpr std::uint16_t VERMELHO = 4;
inline constexpr std::uint16_t AMARELO = 14;

// The byte a cell code is shown with.
// The fast tune: the pick-up sound, and from its tenth note the life-lost one.
inline const std::vector<std::pair<int, int>> TUNE_RAPIDA{
    {660, 10}, {660, 20}, {734, 10}, {660, 10}, {704, 20}, {660, 10},
    {704, 10}, {844, 20}, {734, 40}, {550, 10}, {594, 10}, {550, 10},
    {594, 10}, {660, 20}, {495, 20}, {594, 10}, {550, 10}, {440, 40}};

inline std::vector<std::pair<int, int>> vezes(int n, std::vector<std::pair<int, int>> uma) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < n; ++i)
        out.insert(out.end(), uma.begin(), uma.end());
    return out;
}
inline std::vector<std::pair<int, int>> pega_vida(int n) {
    return vezes(n, TUNE_RAPIDA);
}
inline std::vector<std::pair<int, int>> perde_vida(int n) {
    return vezes(n, {TUNE_RAPIDA.begin() + 9, TUNE_RAPIDA.end()});
}

inline std::uint8_t glifo(std::uint8_t code) {
    if (code == game::VAZIO)
        return ' ';
    if (code == game::TIRO_INIMIGO)
        return '|';
    return code;
}

inline std::uint16_t cor_de(std::uint8_t code) {
    switch (code) {
    case game::NAVE:
        return VERDE;
    case game::METEORO:
        return VERMELHO;
    case game::TIRO_INIMIGO:
        return AMARELO;
    default:
        return BRANCO;
    }
}

struct CampoPintado : ::testing::Test {
    console::MemoryConsole con;
    game::Partida p;
    std::vector<console::Cell> foto_;

    CampoPintado() {
        console::textbackground(0);
        console::textcolor(15);
        console::clrscr();
        p.nivel = '1';
        p.etapa = 1;
        p.parametros = game::NIVEIS[0].parametros;
        p.vidas = 4;
        p.campo.set(p.jogadorx, p.jogadory, game::JOGADOR);
        pinta(p.jogadorx, p.jogadory, game::JOGADOR);
    }

    void pinta(int c, int r, std::uint8_t code) { pinta(c, r, code, cor_de(code)); }
    void pinta(int c, int r, std::uint8_t code, std::uint16_t cor) {
        con.screen.set_cursor(
            console::Coord{static_cast<std::int16_t>(c - 1), static_cast<std::int16_t>(r - 1)});
        con.screen.set_attribute(cor);
        const char byte = static_cast<char>(glifo(code));
        con.screen.write(std::string_view(&byte, 1));
        con.screen.set_attribute(BRANCO);
    }

    // As shown after it was drawn.
    void poe(int c, int r, std::uint8_t code) {
        p.campo.set(c, r, code);
        pinta(c, r, code);
    }
    // In the field only, as the objects that are not shown yet.
    void esconde(int c, int r, std::uint8_t code) { p.campo.set(c, r, code); }

    void jogador_em(int c, int r) {
        p.campo.set(p.jogadorx, p.jogadory, game::VAZIO);
        pinta(p.jogadorx, p.jogadory, game::VAZIO);
        p.jogadorx = c;
        p.jogadory = r;
        poe(c, r, game::JOGADOR);
    }

    void sorteios(std::initializer_list<int> draws) { con.platform.script_rand(draws); }

    console::Cell tela(int c, int r) const { return con.screen.at(c, r); }
    std::uint8_t em(int c, int r) const { return p.campo.at(c, r); }

    // Marks the screen as it stands; mudancas() tells which cells differ.
    void fotografa() {
        foto_.clear();
        for (int r = 1; r <= game::LINHAS; ++r)
            for (int c = 1; c <= game::COLUNAS; ++c)
                foto_.push_back(con.screen.at(c, r));
    }
    Posicoes mudancas() const {
        Posicoes out;
        std::size_t i = 0;
        for (int r = 1; r <= game::LINHAS; ++r)
            for (int c = 1; c <= game::COLUNAS; ++c)
                if (con.screen.at(c, r) != foto_.at(i++))
                    out.insert({c, r});
        return out;
    }

    // The cell shows this code's glyph in the colour the game gives it.
    void mostra(int c, int r, std::uint8_t code, std::uint16_t cor) const {
        EXPECT_EQ(tela(c, r), (console::Cell{glifo(code), cor})) << "screen at " << c << "," << r;
        EXPECT_EQ(em(c, r), code) << "field at " << c << "," << r;
    }
    void vazio(int c, int r) const { mostra(c, r, game::VAZIO, BRANCO); }

    // Every phase hands the colour back white.
    void branco_em_vigor() const {
        EXPECT_EQ(con.screen.attribute(), BRANCO);
        EXPECT_EQ(console::layer_state().FOREGROUND, 15);
        EXPECT_EQ(console::layer_state().BACKGROUND, 0);
    }
    // The tones played, without their start times, one tune after another.
    std::vector<std::pair<int, int>> tons() const {
        std::vector<std::pair<int, int>> out;
        for (const console::Tone& t : con.platform.tones())
            out.emplace_back(t.hz, t.ms);
        return out;
    }
    void sorteios_usados(std::size_t n) const {
        EXPECT_EQ(con.platform.rand_calls(), n);
        EXPECT_EQ(con.platform.scripted_draws_left(), 0u);
    }
};

} // namespace teste
