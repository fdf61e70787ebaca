#include "game/partida.hpp"

#include <gtest/gtest.h>

TEST(Partida, StartsAsANewGameShould) {
    const game::Partida p;
    EXPECT_EQ(p.jogadorx, 40);
    EXPECT_EQ(p.jogadory, 35);
    EXPECT_EQ(p.vidas, 1);
    EXPECT_EQ(p.campo.at(79, 49), game::VAZIO);
}
