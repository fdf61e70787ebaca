// Fills a board's database for the pages' benchmark: GAMES games in runs
// of a hundred, with seeded names, levels and points, straight through the
// store (the API would replay each run first, which is not what is timed).
//   board_fill DATABASE GAMES
#include "server/store.hpp"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: board_fill DATABASE GAMES\n";
        return 2;
    }
    constexpr int GAMES_A_RUN = 100;
    const long games = std::strtol(argv[2], nullptr, 10);
    const auto store = board::open_store(argv[1]);
    unsigned state = 12345;
    const auto draw = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    const char* endings[] = {"perdeu", "venceu", "saiu"};
    for (long made = 0, run = 0; made < games; ++run) {
        board::NewRun r;
        char sha[65];
        std::snprintf(sha, sizeof sha, "%064lx", run);
        r.sha256 = sha;
        r.bytes = "run " + std::to_string(run);
        r.received_ms = 1'765'000'000'000 + run * 60'000;
        r.made_by = "orbitrix 1.0 linux";
        for (int g = 0; g < GAMES_A_RUN && made < games; ++g, ++made) {
            board::Game game;
            game.name = "Jogador " + std::to_string(draw() % 5000);
            game.start_level = 1 + static_cast<int>(draw() % 4);
            game.end_level = game.start_level + static_cast<int>(draw() % 2);
            game.points = static_cast<std::int64_t>(draw() % 30000);
            game.lives = static_cast<int>(draw() % 5);
            game.ending = endings[draw() % 3];
            game.frames = 1000 + draw() % 10000;
            r.games.push_back(game);
        }
        store->insert_run(r);
    }
    return 0;
}
