#include "app/scores/collector.hpp"
#include "console/memory_console.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Collector, KeepsEachGameWithTheClocksTimeAndTheNameAsShownInUtf8) {
    console::MemoryPlatform clock;
    clock.set_time(1796761168);
    std::vector<scores::Entry> played;
    scores::Collector collector(clock, played);
    // ã and the heart, as the console's code page holds them.
    collector.partida_termina({"Jo\xc6o\x03", '1', '3', 5200, 2, game::Desfecho::venceu});
    clock.set_time(1796761200);
    collector.partida_termina({"Bia", '4', '4', 0, 0, game::Desfecho::saiu});

    EXPECT_EQ(played,
              (std::vector<scores::Entry>{
                  {5200, "Jo\xc3\xa3o\xe2\x99\xa5", '1', '3', scores::Ending::won, 1796761168},
                  {0, "Bia", '4', '4', scores::Ending::left, 1796761200},
              }));
}

} // namespace
