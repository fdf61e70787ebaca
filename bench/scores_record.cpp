// One game added to a full table of best scores on the disk, as a session's
// end does it: lock, read, merge, write, fsync, rename, fsync the directory.
#include "app/scores/store.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

void BM_RecordIntoAFullTable(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("orbitrix-bench-scores-" + std::to_string(getpid()));
    const std::string table = (dir / "scores").string();
    std::vector<scores::Entry> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back(
            {1000 + i, "Jogador " + std::to_string(i), '1', '2', scores::Ending::lost, 1796761168});
    scores::record(table, ten);
    int points = 100000;
    for (auto _ : state) {
        // Each game enters first, so every record rewrites the file.
        const auto recorded =
            scores::record(table, {{++points, "Ana", '1', '4', scores::Ending::won, 1796761168}});
        if (recorded.problem)
            state.SkipWithError(recorded.problem->c_str());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecordIntoAFullTable)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
