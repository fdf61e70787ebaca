// Writes COUNT distinct recordings, DIR/1.replay to DIR/COUNT.replay, each
// a seeded session of SECONDS of the game's own time:
//   board_recordings DIR COUNT SECONDS
#include "support/played_session.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: board_recordings DIR COUNT SECONDS\n");
        return 2;
    }
    const int count = std::atoi(argv[2]);
    const std::int64_t length_ms = std::atoll(argv[3]) * 1000;
    for (int i = 1; i <= count; ++i) {
        std::ofstream out(std::string(argv[1]) + "/" + std::to_string(i) + ".replay",
                          std::ios::binary);
        out << teste::played_session(static_cast<unsigned>(i), length_ms).text;
        if (!out)
            return 1;
    }
    return 0;
}
