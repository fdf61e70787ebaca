// A hundred seeded games, each played to its end by a scripted player with
// the field checked after every frame.
#include "game/inicio.hpp"
#include "game/partida.hpp"
#include "game/quadro.hpp"
#include "support/field_watch.hpp"
#include "support/seeded_player.hpp"
#include "support/touched_cells.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int GAMES = 100;
// Under the sanitizers a frame costs about a quarter of a millisecond; this
// keeps the hundred games well under a minute there.
constexpr int FRAME_CAP = 1000;

// Games run in batches, each batch one test: a test process of its own per
// game would cost more than the games under the sanitizers.
constexpr int BATCHES = 10;
static_assert(GAMES % BATCHES == 0);

// One game to its end, checked after every frame; adds what it met.
void play_one(int game_number, teste::Met& met, int& frames_played) {
    teste::WatchedConsole con;
    con.platform.set_time(1'700'000'000 + 7919LL * game_number);
    game::Partida p;
    std::strcpy(p.nome.data(), "Soak");
    p.nivel = '1' + game_number % 4;
    game::monta_jogo(p);
    con.touched.take();
    teste::FieldWatch watch(con.screen, p);
    teste::SeededPlayer player(static_cast<unsigned>(game_number) * 2654435761u + 1);

    int frames = 0;
    game::Fim fim = game::Fim::continua;
    while (p.vidas >= 1 && fim == game::Fim::continua && frames < FRAME_CAP) {
        if (con.platform.keys_left() == 0)
            for (const int key : player.keys(p))
                con.platform.push_key(key, con.platform.now_ms());
        const teste::BeforeFrame before = watch.before(p, con.platform);
        fim = game::quadro(p);
        ++frames;
        const teste::Fault fault = watch.check(before, p, con.platform, con.touched.take());
        ASSERT_EQ(fault.what, "") << "game " << game_number << ", frame " << frames << "\n"
                                  << teste::surroundings(before, p, con.screen, fault.column,
                                                         fault.row);
        con.platform.clear_logs();
    }
    met += watch.met();
    frames_played += frames;
}

class Soak : public ::testing::TestWithParam<int> {};

TEST_P(Soak, EveryFrameKeepsTheFieldOnScreenAndTheFrameIntact) {
    const int batch = GetParam();
    teste::Met met;
    int frames = 0;
    for (int g = batch; g < GAMES; g += BATCHES) {
        play_one(g, met, frames);
        if (HasFatalFailure())
            return;
    }
    // The games were busy enough to meet what the game leaves unpainted.
    EXPECT_GT(met.hidden_meteors, 0);
    EXPECT_GT(met.unseen_enemy_shots, 0);
    EXPECT_GT(met.fresh_shots, 0);
    EXPECT_GT(met.burst_blanks, 0);
    RecordProperty("frames", frames);
    RecordProperty("hidden_meteors", met.hidden_meteors);
    RecordProperty("unseen_enemy_shots", met.unseen_enemy_shots);
    RecordProperty("fresh_shots", met.fresh_shots);
    RecordProperty("burst_blanks", met.burst_blanks);
    RecordProperty("shots_through_ships", met.shots_through_ships);
    RecordProperty("edge_ships", met.edge_ships);
    RecordProperty("edge_bursts", met.edge_bursts);
}

INSTANTIATE_TEST_SUITE_P(Games, Soak, ::testing::Range(0, BATCHES));

} // namespace
