#include "app/scores/listing.hpp"

#include <gtest/gtest.h>

namespace {

using scores::Ending;
using scores::Entry;

TEST(Listing, ColumnsLineUpByCodePointsWhateverTheNamesBytes) {
    const std::vector<Entry> table{
        {12340, "Jo\xc3\xa3o", '1', '3', Ending::won, 1796761168},
        {340, "Ana", '2', '2', Ending::left, 0},
        {9, "\x1b[2J\xc2\x9b", '4', '4', Ending::lost, 60},
    };
    EXPECT_EQ(scores::listing(table),
              "Pos  Pontos  Nome   Nivel  Fim     Data\n"
              "  1   12340  Jo\xc3\xa3o   1 a 3  venceu  2026-12-08T20:19:28Z\n"
              "  2     340  Ana    2      saiu    1970-01-01T00:00:00Z\n"
              "  3       9  ?[2J?  4      perdeu  1970-01-01T00:01:00Z\n");
    EXPECT_EQ(scores::listing({}), "Nenhum jogo registrado ainda.\n");
}

TEST(Listing, ASessionsGameWithItsPlaceOrWithout) {
    const Entry ana{12340, "Ana", '1', '3', Ending::lost, 0};
    EXPECT_EQ(scores::game_line(ana, 2), "Ana: 12340 pontos, 2o lugar entre os 10 melhores\n");
    EXPECT_EQ(scores::game_line(ana, std::nullopt), "Ana: 12340 pontos\n");
}

} // namespace
