// record_one_game TABLE POINTS: says it has started (TABLE.started.POINTS),
// then records one game of that many points; 0 when it landed.
#include "app/scores/store.hpp"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const std::string table = argv[1];
    const int points = std::stoi(argv[2]);
    std::ofstream(table + ".started." + argv[2]) << "started\n";
    const scores::Entry game{
        points, "child " + std::to_string(points), '1', '1', scores::Ending::lost, 1796761168};
    const scores::Recorded recorded = scores::record(table, {game});
    if (recorded.problem)
        std::fprintf(stderr, "%s\n", recorded.problem->c_str());
    return recorded.problem ? 1 : 0;
}
