// One whole seeded game, frame by frame, with the seeded player: after every
// frame the playing area shows what the field holds, apart from the few
// cells the game knowingly leaves unpainted, nothing else on the screen
// moves but the status values, and the sounds and the clock are those of
// what happened.
#include "game/inicio.hpp"
#include "game/partida.hpp"
#include "game/quadro.hpp"
#include "support/field_watch.hpp"
#include "support/seeded_player.hpp"
#include "support/touched_cells.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr int MAX_QUADROS = 600;

// The clock the game seeds its random source from.
class Jogo : public ::testing::TestWithParam<std::int64_t> {};

TEST_P(Jogo, EveryFrameShowsTheFieldAndTouchesNothingElse) {
    teste::WatchedConsole con;
    con.platform.set_time(GetParam());
    game::Partida p;
    std::strcpy(p.nome.data(), "Ana");
    p.nivel = '1';
    game::monta_jogo(p);
    // The charge for one special shot from the start, to see a detonation.
    p.especial = 2000;
    con.touched.take();
    teste::FieldWatch watch(con.screen, p);
    teste::SeededPlayer jogador(7);

    int quadros = 0;
    game::Fim fim = game::Fim::continua;
    while (fim == game::Fim::continua && p.vidas >= 1 && quadros < MAX_QUADROS) {
        // The charge spent at once, then a step aside so the next shots miss
        // the special one; each key due a little after the frame starts.
        const std::int64_t agora = con.platform.now_ms() + 20;
        if (quadros == 2)
            con.platform.push_key('b', agora);
        else if (quadros == 3)
            con.platform.push_key('a', agora);
        else if (con.platform.keys_left() == 0)
            for (const int tecla : jogador.keys(p))
                con.platform.push_key(tecla, agora);
        const teste::BeforeFrame antes = watch.before(p, con.platform);
        fim = game::quadro(p);
        ++quadros;
        const teste::Fault falha = watch.check(antes, p, con.platform, con.touched.take());
        ASSERT_EQ(falha.what, "") << "frame " << quadros << "\n"
                                  << teste::surroundings(antes, p, con.screen, falha.column,
                                                         falha.row);
    }
    // The game was long and busy enough to have met what it checks.
    const teste::Met& visto = watch.met();
    EXPECT_GE(quadros, 300);
    EXPECT_GE(visto.detonations, 1);
    EXPECT_GE(visto.charge_gained, 200);
    EXPECT_GT(p.pontos, 250);
    EXPECT_GE(visto.lives_won, 1);
    EXPECT_GE(visto.lives_lost, 1);
    EXPECT_GE(visto.fire_tones, 1);
    EXPECT_EQ(p.nivel, '1');
}

INSTANTIATE_TEST_SUITE_P(DuasSementes, Jogo, ::testing::Values(11'000, 11'002));

} // namespace
