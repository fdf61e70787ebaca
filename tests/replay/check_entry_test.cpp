// The one replay entry: the same verdict on the in-memory console and on a
// stage of the caller's, the watcher told of every game, the budget's
// session time the same on either, and what --verify says made from the
// verdict alone.
#include "console/memory_console.hpp"
#include "replay/check.hpp"
#include "replay/recording_file.hpp"
#include "replay/verify.hpp"
#include "sample_session.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using Outcome = replay::Verdict::Outcome;

replay::Recording sample_recording() {
    static const std::string text = sample::recorded_session();
    return std::get<replay::Recording>(replay::read_recording(text));
}

// What a watcher hears of each game.
struct Heard : game::Observador {
    int begun = 0;
    std::vector<std::string> played;
    std::vector<game::Resultado> ended;
    void partida_comeca() override { ++begun; }
    void jogo_comeca(const std::string& nome, int /*nivel*/) override { played.push_back(nome); }
    void partida_termina(const game::Resultado& r) override { ended.push_back(r); }
};

// The verdict and what its stage saw, when there was one.
struct Judged {
    replay::Verdict verdict;
    std::int64_t stage_ms = 0;
};

Judged judge(bool own_stage, replay::Budget budget, game::Observador* watch = nullptr) {
    const replay::Recording recording = sample_recording();
    if (!own_stage)
        return {replay::check_recording(recording, {std::nullopt, watch, std::move(budget)}), 0};
    console::MemoryConsole stage;
    stage.platform.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
    Judged judged{replay::check_recording(recording, {replay::Stage{stage.screen, stage.platform},
                                                      watch, std::move(budget)}),
                  0};
    judged.stage_ms = stage.platform.now_ms();
    return judged;
}

void expect_same_games(const replay::Verdict& a, const replay::Verdict& b) {
    ASSERT_EQ(a.games.size(), b.games.size());
    for (std::size_t g = 0; g < a.games.size(); ++g) {
        EXPECT_EQ(a.games[g].result.nome, b.games[g].result.nome) << "game " << g + 1;
        EXPECT_EQ(a.games[g].result.pontos, b.games[g].result.pontos) << "game " << g + 1;
        EXPECT_EQ(a.games[g].frames, b.games[g].frames) << "game " << g + 1;
        EXPECT_EQ(a.games[g].ms, b.games[g].ms) << "game " << g + 1;
        EXPECT_EQ(a.games[g].seed, b.games[g].seed) << "game " << g + 1;
    }
}

TEST(CheckEntry, AStageOfTheCallersGivesTheVerdictTheInMemoryConsoleGives) {
    const Judged in_memory = judge(false, {});
    ASSERT_EQ(in_memory.verdict.outcome, Outcome::confirmed) << in_memory.verdict.what;
    ASSERT_EQ(in_memory.verdict.games.size(), 2u);
    for (const bool own_stage : {false, true}) {
        SCOPED_TRACE(own_stage ? "on a stage" : "in memory");
        Heard heard;
        const Judged judged = judge(own_stage, {}, &heard);
        EXPECT_EQ(judged.verdict.outcome, Outcome::confirmed) << judged.verdict.what;
        expect_same_games(judged.verdict, in_memory.verdict);
        // The watcher hears every game as it is played, in order.
        EXPECT_EQ(heard.begun, 2);
        EXPECT_EQ(heard.played, (std::vector<std::string>{"Ana", "Bob"}));
        ASSERT_EQ(heard.ended.size(), 2u);
        for (std::size_t g = 0; g < heard.ended.size(); ++g)
            EXPECT_EQ(heard.ended[g].pontos, judged.verdict.games[g].result.pontos);
        // The waits went to the stage: the session took its time there.
        if (own_stage) {
            EXPECT_GT(judged.stage_ms, 0);
        }
    }
}

// The session's own time, as the stage's clock counted it, is what the
// budget measures: a budget of that much passes, a millisecond less stops
// the replay, on either console.
TEST(CheckEntry, TheBudgetMeasuresTheSessionTimeTheStageCounted) {
    const std::int64_t session_ms = judge(true, {}).stage_ms;
    ASSERT_GT(session_ms, 0);
    std::int64_t fake_ns = 0;
    const auto cpu_clock = [&fake_ns] { return fake_ns += 1'000'000; };
    struct Case {
        const char* what;
        replay::Budget budget;
        Outcome outcome;
    };
    const std::vector<Case> cases{
        {"the whole session", {session_ms, 0, {}}, Outcome::confirmed},
        {"a millisecond less", {session_ms - 1, 0, {}}, Outcome::over_session_time},
        {"a second of it", {1000, 0, {}}, Outcome::over_session_time},
        {"1 ms of CPU, 1 ms a read", {0, 1'000'000, cpu_clock}, Outcome::over_cpu},
        {"no limit", {}, Outcome::confirmed},
    };
    for (const Case& c : cases)
        for (const bool own_stage : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (own_stage ? ", on a stage" : ", in memory"));
            const replay::Verdict verdict = judge(own_stage, c.budget).verdict;
            EXPECT_EQ(verdict.outcome, c.outcome) << verdict.what;
            if (c.outcome != Outcome::confirmed) {
                EXPECT_NE(verdict.what.find("over the replay budget"), std::string::npos);
                EXPECT_TRUE(verdict.games.empty());
            }
        }
}

replay::ReplayedGame game_of(std::string name, int first, int last, int points, int lives,
                             game::Desfecho ending) {
    return replay::ReplayedGame{{std::move(name), first, last, points, lives, ending}, 0, 0, {}};
}

TEST(CheckEntry, WhatVerifySaysIsMadeFromTheVerdict) {
    const auto ana = game_of("Ana", '1', '2', 120, 0, game::Desfecho::perdeu);
    const auto bob = game_of("Bob", '4', '4', 30000, 2, game::Desfecho::venceu);
    const std::string ana_line = "partida 1: \"Ana\", nivel 1 a 2, 120 pontos, 0 vidas, perdeu\n";
    const std::string bob_line = "partida 2: \"Bob\", nivel 4 a 4, 30000 pontos, 2 vidas, venceu\n";
    struct Case {
        replay::Verdict verdict;
        std::string results;
        std::string refusal;
        int status;
    };
    const std::vector<Case> cases{
        {{Outcome::confirmed, {}, 0, ""}, "0 partidas conferem com o registro\n", "", 0},
        {{Outcome::confirmed, {ana}, 0, ""},
         ana_line + "1 partida confere com o registro\n",
         "",
         0},
        {{Outcome::confirmed, {ana, bob}, 0, ""},
         ana_line + bob_line + "2 partidas conferem com o registro\n",
         "",
         0},
        {{Outcome::differs, {ana, bob}, 0, "game 2 differs: points 1 replayed, 2 recorded"},
         ana_line + bob_line,
         "orbitrix: s.replay: game 2 differs: points 1 replayed, 2 recorded\n",
         1},
        {{Outcome::cut_short, {ana}, 9, "the recording ends here"},
         ana_line,
         "orbitrix: s.replay line 9: the recording ends here\n",
         1},
        {{Outcome::over_cpu, {}, 0, "over the replay budget"},
         "",
         "orbitrix: s.replay: over the replay budget\n",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal.empty() ? c.results : c.refusal);
        EXPECT_EQ(replay::verdict_results(c.verdict), c.results);
        EXPECT_EQ(replay::verdict_refusal(c.verdict, "s.replay"), c.refusal);
        EXPECT_EQ(replay::verdict_status(c.verdict), c.status);
    }
}

} // namespace
