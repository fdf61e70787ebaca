// The ranked rules on the committed session's two games, with the
// server's clock and its tickets faked: what makes a game ranked, and each
// way a game falls to the open board with the reason the player reads.
#include "replay/recording_file.hpp"
#include "server/ranked_rules.hpp"
#include "server/submission.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr std::uint32_t ANA_SEED = 1765000004;
constexpr std::uint32_t BOB_SEED = 1765001204;
constexpr std::int64_t NOW = 1'800'000'000'000;

std::vector<board::JudgedGame> committed_games() {
    auto read = replay::load_recording(ORBITRIX_TEST_DATA "/session.replay");
    auto judged = board::judge_games(std::get<replay::Recording>(read), {}, nullptr);
    return std::get<std::vector<board::JudgedGame>>(std::move(judged));
}

struct Desk {
    std::map<std::string, board::Ticket> tickets;
    void deal(const std::string& id, std::uint32_t seed, std::int64_t issued,
              std::optional<std::int64_t> run = std::nullopt) {
        tickets[id] = board::Ticket{id, seed, issued, run};
    }
    std::vector<board::Ranking> rank(const std::vector<board::JudgedGame>& games,
                                     const std::vector<std::string>& ids) const {
        return board::rank_games(
            games, ids,
            [this](const std::string& id) -> std::optional<board::Ticket> {
                const auto found = tickets.find(id);
                if (found == tickets.end())
                    return std::nullopt;
                return found->second;
            },
            NOW);
    }
};

TEST(RankedRules, TheReplayFindsEachGamesSeedAndItsOwnLength) {
    const auto games = committed_games();
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].seed, ANA_SEED);
    EXPECT_EQ(games[1].seed, BOB_SEED);
    // Ana's 354 frames at level 4 wait its 80 ms frame delay each.
    EXPECT_GE(games[0].ms, 354 * 80);
    EXPECT_GT(games[1].ms, 0);
}

TEST(RankedRules, GamesOnFreshUnusedTicketsOfTheirSeedsAreRanked) {
    const auto games = committed_games();
    Desk desk;
    // Each ticket issued exactly as long ago as it and the games after it
    // last: the fastest a real-time player could send the run.
    desk.deal("aa", ANA_SEED, NOW - games[0].ms - games[1].ms);
    desk.deal("bb", BOB_SEED, NOW - games[1].ms);
    const auto ranked = desk.rank(games, {"aa", "bb"});
    ASSERT_EQ(ranked.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(ranked[i].kind, board::Kind::ranked) << ranked[i].open_because;
        EXPECT_TRUE(ranked[i].open_because.empty());
    }
    EXPECT_EQ(ranked[0].ticket, "aa");
    EXPECT_EQ(ranked[1].ticket, "bb");
}

TEST(RankedRules, EachBrokenRuleSendsThatGameOpenAndSaysWhy) {
    const auto games = committed_games();
    const std::int64_t both = games[0].ms + games[1].ms;
    const std::int64_t day = board::TICKET_LIFE_MS;
    struct Case {
        std::string what;
        board::Ticket ana;
        std::string because;
    };
    const std::vector<Case> cases{
        {"reused", {"aa", ANA_SEED, NOW - day / 2, 7}, "its ticket was used before"},
        {"wrong seed", {"aa", ANA_SEED + 1, NOW - day / 2, {}}, "not played on its ticket's seed"},
        {"too old", {"aa", ANA_SEED, NOW - day - 1, {}}, "its ticket is older than 24 hours"},
        {"too fast", {"aa", ANA_SEED, NOW - both + 1, {}}, "sent sooner after its ticket"},
    };
    for (const Case& c : cases) {
        Desk desk;
        desk.tickets["aa"] = c.ana;
        desk.deal("bb", BOB_SEED, NOW - games[1].ms);
        const auto ranked = desk.rank(games, {"aa", "bb"});
        ASSERT_EQ(ranked.size(), 2u) << c.what;
        EXPECT_EQ(ranked[0].kind, board::Kind::open) << c.what;
        EXPECT_TRUE(ranked[0].ticket.empty()) << c.what;
        EXPECT_TRUE(ranked[0].open_because.starts_with(c.because))
            << c.what << ": " << ranked[0].open_because;
        // One game's fault is its own: the other stays ranked.
        EXPECT_EQ(ranked[1].kind, board::Kind::ranked) << c.what;
    }
}

TEST(RankedRules, MissingUnknownAndRepeatedTicketsInOneRunAreOpen) {
    const auto games = committed_games();
    Desk desk;
    desk.deal("aa", ANA_SEED, NOW - 3'600'000);
    // A ticket the server never dealt, and one run's ticket twice.
    auto ranked = desk.rank(games, {"", "cc"});
    EXPECT_EQ(ranked[0].open_because, "played without a ticket");
    EXPECT_EQ(ranked[1].open_because, "its ticket is not one this server dealt");
    ranked = desk.rank(games, {"aa"});
    EXPECT_EQ(ranked[0].kind, board::Kind::ranked);
    EXPECT_EQ(ranked[1].open_because, "played without a ticket");

    // Bob's game even on Ana's seed cannot take her ticket a second time.
    auto twice = games;
    twice[1].seed = ANA_SEED;
    ranked = desk.rank(twice, {"aa", "aa"});
    EXPECT_EQ(ranked[0].kind, board::Kind::ranked);
    EXPECT_EQ(ranked[1].open_because, "its ticket was used before");
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
