#pragma once
// A play field painted the way the game paints it, on the in-memory console,
// and what changed on the screen since a moment of the test.

#include "screens/celulas.hpp"
#include "support/jogo_na_memoria.hpp"
#include "support/sons.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace teste {

using Posicao = std::pair<int, int>; // (column, row)
using Posicoes = std::set<Posicao>;

struct CampoPintado : JogoNaMemoria {
    std::vector<console::Cell> foto_;

    CampoPintado() {
        console::textbackground(screens::PRETO);
        console::textcolor(BRANCO);
        console::clrscr();
        p.nivel = '1';
        p.etapa = 1;
        p.parametros = game::NIVEIS[0].parametros;
        p.vidas = 4;
        p.campo.set(p.jogadorx, p.jogadory, game::JOGADOR);
        pinta(p.jogadorx, p.jogadory, game::JOGADOR);
    }

    void pinta(int c, int r, std::uint8_t code) { pinta(c, r, code, screens::cor_de(code)); }
    void pinta(int c, int r, std::uint8_t code, std::uint16_t cor) {
        con.screen.set_cursor(
            console::Coord{static_cast<std::int16_t>(c - 1), static_cast<std::int16_t>(r - 1)});
        con.screen.set_attribute(cor);
        const char byte = static_cast<char>(screens::glifo(code));
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
        EXPECT_EQ(tela(c, r), (console::Cell{screens::glifo(code), cor}))
            << "screen at " << c << "," << r;
        EXPECT_EQ(em(c, r), code) << "field at " << c << "," << r;
    }
    void vazio(int c, int r) const { mostra(c, r, game::VAZIO, BRANCO); }
};

} // namespace teste
