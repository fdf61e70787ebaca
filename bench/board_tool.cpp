// What the board's bench needs besides the programs themselves:
//   board_tool recordings DIR COUNT SECONDS   COUNT seeded sessions, DIR/N.replay
//   board_tool timed DIR COUNT SECONDS        the same, each line timed, DIR/N.timed
//   board_tool seed DATABASE GAMES            GAMES games stored on a fresh board
//   board_tool time DATABASE OFFSET           places, a run's answer and pages timed
#include "bench/board_timing.hpp"
#include "server/store.hpp"
#include "support/played_session.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

int recordings(const std::string& dir, int count, std::int64_t seconds) {
    for (int i = 1; i <= count; ++i) {
        std::ofstream out(dir + "/" + std::to_string(i) + ".replay", std::ios::binary);
        out << teste::played_session(static_cast<unsigned>(i), seconds * 1000).text;
        if (!out)
            return 1;
    }
    return 0;
}

int timed(const std::string& dir, int count, std::int64_t seconds) {
    for (int i = 1; i <= count; ++i) {
        std::ofstream out(dir + "/" + std::to_string(i) + ".timed", std::ios::binary);
        out << teste::timed_session(static_cast<unsigned>(i), seconds * 1000);
        if (!out)
            return 1;
    }
    return 0;
}

// Runs of a hundred games each, their points drawn, received a second apart.
int seed(const std::string& database, int games) {
    constexpr int GAMES_A_RUN = 100;
    const auto store = board::open_store(database);
    unsigned state = 2026;
    const auto draw = [&] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (int run = 0; run * GAMES_A_RUN < games; ++run) {
        board::NewRun r;
        r.sha256 = "seed-" + std::to_string(run);
        r.bytes = "seeded run " + std::to_string(run) + "\n";
        r.received_ms = 1'765'000'000'000 + run * 1000LL;
        r.made_by = "1.0.0 linux";
        for (int g = 0; g < GAMES_A_RUN && run * GAMES_A_RUN + g < games; ++g) {
            const int level = static_cast<int>(draw() % 4) + 1;
            r.games.push_back(board::Game{"Bot " + std::to_string(draw() % 1000),
                                          level,
                                          level,
                                          (draw() % 3000) * 10,
                                          0,
                                          "perdeu",
                                          static_cast<std::int64_t>(draw() % 20000),
                                          board::Kind::open,
                                          {}});
        }
        store->insert_run(r);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "recordings" && argc == 5)
        return recordings(argv[2], std::atoi(argv[3]), std::atoll(argv[4]));
    if (what == "timed" && argc == 5)
        return timed(argv[2], std::atoi(argv[3]), std::atoll(argv[4]));
    if (what == "seed" && argc == 4)
        return seed(argv[2], std::atoi(argv[3]));
    if (what == "time" && argc == 4)
        return time_board(argv[2], std::atoll(argv[3]));
    std::fprintf(stderr,
                 "usage: board_tool recordings|timed DIR COUNT SECONDS | seed DATABASE GAMES | "
                 "time DATABASE OFFSET\n");
    return 2;
}
