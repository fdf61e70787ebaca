// What a submission's replay finds of each game, and the ticket ids a run
// sent with them: read strictly, though they no longer rank a game.
#include "replay/recording_file.hpp"
#include "server/ranked_rules.hpp"
#include "server/submission.hpp"

#include <gtest/gtest.h>


namespace {

constexpr std::uint32_t ANA_SEED = 1765000004;
constexpr std::uint32_t BOB_SEED = 1765001204;

std::vector<board::JudgedGame> committed_games() {
    auto read = replay::load_recording(ORBITRIX_TEST_DATA "/session.replay");
    auto judged = board::judge_games(std::get<replay::Recording>(read), {}, nullptr);
    return std::get<std::vector<board::JudgedGame>>(std::move(judged));
}

TEST(RankedRules, TheReplayFindsEachGamesSeedAndItsOwnLength) {
    const auto games = committed_games();
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].seed, ANA_SEED);
    EXPECT_EQ(games[1].seed, BOB_SEED);
    // Ana's 354 frames at level 4 wait its 80 ms frame delay each.
    EXPECT_GE(games[0].ms, 354 * 80);
    EXPECT_GT(games[1].ms, 0);
}

TEST(RankedRules, TicketListsAreHexIdsInGameOrder) {
    using List = std::vector<std::string>;
    EXPECT_EQ(board::ticket_list(""), List{});
    EXPECT_EQ(board::ticket_list("0a,,ff"), (List{"0a", "", "ff"}));
    EXPECT_EQ(board::ticket_list(","), (List{"", ""}));
    EXPECT_EQ(board::ticket_list("0A"), std::nullopt);
    EXPECT_EQ(board::ticket_list("ab cd"), std::nullopt);
    EXPECT_EQ(board::ticket_list(std::string(65, 'a')), std::nullopt);
}

} // namespace
