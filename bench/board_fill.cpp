// Fills a board with GAMES games for the read benchmark, through the
// store's own inserts (runs of four games, points spread so the board's
// order and ties are realistic):
//   board_fill DATABASE GAMES
#include "server/store.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: board_fill DATABASE GAMES\n");
        return 2;
    }
    const long games = std::atol(argv[2]);
    try {
        const auto store = board::open_store(argv[1]);
        std::mt19937 draw(20261209);
        std::uniform_int_distribution<int> level(1, 4);
        // Points in steps of 5, as the game scores them: many ties.
        std::uniform_int_distribution<int> points(0, 6000);
        for (long run = 0; run * 4 < games; ++run) {
            board::NewRun sent;
            sent.bytes = "bench run " + std::to_string(run);
            char sha[65];
            std::snprintf(sha, sizeof sha, "%064lx", run);
            sent.sha256 = sha;
            sent.received_ms = 1'765'000'000'000 + run * 1000;
            sent.made_by = "orbitrix 1.0.0 linux";
            for (int i = 0; i < 4 && run * 4 + i < games; ++i) {
                board::Game game;
                game.name = "Jogador " + std::to_string(run * 4 + i);
                game.start_level = level(draw);
                game.end_level = game.start_level;
                game.points = 5 * points(draw);
                game.ending = "perdeu";
                game.frames = 1000 + game.points;
                sent.games.push_back(game);
            }
            store->insert_run(sent);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "board_fill: %s\n", error.what());
        return 1;
    }
    return 0;
}
