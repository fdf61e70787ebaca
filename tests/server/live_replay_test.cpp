// A live session from end to end in memory: the game played by a seeded
// player on the client's platform, its recording fed and cut into batches
// every quarter of a second of the game's clock, and each batch handed to
// the board's live replay as it arrives. What the replay judges of each way
// of playing: in real time, slowed down, made in advance, paused.
#include "app/live/feed_tee.hpp"
#include "app/live/live_feed.hpp"
#include "app/live/live_platform.hpp"
#include "app/observers.hpp"
#include "console/memory_console.hpp"
#include "game/sessao.hpp"
#include "replay/asciicast.hpp"
#include "replay/check.hpp"
#include "replay/recording_file.hpp"
#include "replay/recording_platform.hpp"
#include "server/live/live_replay.hpp"
#include "server/live/stream_lines.hpp"
#include "support/session_keys.hpp"
#include "terminal/vterm_screen.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <sstream>

namespace {

constexpr std::uint32_t SEED = 90210;

struct Play {
    const char* what;
    double slow = 1.0;             // each wait lasts this many times what it asks
    std::int64_t game_ms = 60'000; // then Esc
    std::int64_t pause_ms = 0;     // a pause this long, 20 s into the game
    bool report_holds = true;
    bool sent_at_once = false; // every batch arrives just after the deal
    // A hold the stream claims 15 s into the game, at a frame that plays on.
    std::optional<live::BatchHold> claimed = std::nullopt;
};

// Plays one game of level 1 when the frame asks, pausing once if told, and
// leaves with Esc; every wait of the game moves the clock that cuts batches.
class Player : public console::MemoryPlatform, public game::Observador {
  public:
    Player(const Play& play, std::function<void()> tick) : play_(play), tick_(std::move(tick)) {}

    bool kbhit() override {
        if (in_play_ && keys_left() == 0) {
            const std::int64_t played = now_ms() - started_ms_;
            if (played >= play_.game_ms)
                push_key(27, now_ms());
            else if (play_.pause_ms > 0 && !paused_ && played >= 20'000) {
                paused_ = true;
                push_key('p', now_ms());
            } else if (const unsigned d = draw_.next(); d % 5 < 3)
                push_key(teste::KeyDraw::play_key(d), now_ms());
        }
        return MemoryPlatform::kbhit();
    }
    int getch() override {
        if (keys_left() == 0) {
            if (in_play_) {
                // The pause, with the stream's heartbeats going on meanwhile.
                for (std::int64_t waited = 0; waited < play_.pause_ms; waited += 250) {
                    MemoryPlatform::sleep(250);
                    tick_();
                }
                push_key(' ', now_ms());
            } else {
                push_key(answers_.empty() ? 'x' : answers_.front(), now_ms());
                if (!answers_.empty())
                    answers_.pop_front();
            }
        }
        return MemoryPlatform::getch();
    }
    void sleep(int ms) override {
        MemoryPlatform::sleep(static_cast<int>(ms * play_.slow));
        tick_();
    }
    void beep(int hz, int ms) override {
        MemoryPlatform::beep(hz, static_cast<int>(ms * play_.slow));
        tick_();
    }
    void partida_comeca() override {
        const std::string start = "1Ana\r1";
        answers_.assign(start.begin(), start.end());
    }
    void jogo_comeca(const std::string&, int) override {
        in_play_ = true;
        started_ms_ = now_ms();
    }
    void partida_termina(const game::Resultado&) override { in_play_ = false; }

  private:
    const Play& play_;
    std::function<void()> tick_;
    teste::KeyDraw draw_{7};
    std::deque<int> answers_;
    bool in_play_ = false;
    bool paused_ = false;
    std::int64_t started_ms_ = 0;
};

struct Outcome {
    std::map<int, live::LiveVerdict> verdicts;
    std::string recording;
    std::string shown; // the bytes the replay's terminal was sent
    // When a watcher joined: what the stream had shown, and the whole
    // screen the watcher was sent instead.
    std::pair<std::string, std::string> joined;
    std::vector<std::int64_t> points; // as the panel changed
    int batches = 0;
};

Outcome play_live(const Play& play) {
    Outcome outcome;
    std::optional<live::DealtGame> dealt;
    live::LiveReplay board(live::LiveHooks{
        [&](std::uint32_t seed) -> std::optional<std::pair<int, live::DealtGame>> {
            if (!dealt || dealt->seed != seed)
                return std::nullopt;
            return std::pair{1, *dealt};
        },
        [&](const std::vector<replay::CastEvent>& events) {
            for (const replay::CastEvent& e : events)
                if (e.code == 'o')
                    outcome.shown += e.data;
        },
        [&](const std::string& whole, std::int64_t) {
            outcome.joined = {outcome.shown, whole};
        },
        [&](std::int64_t points) { outcome.points.push_back(points); },
        [&](int game, const live::LiveVerdict& verdict) { outcome.verdicts[game] = verdict; },
        {}});

    live::Feed feed;
    bool first = true;
    std::int64_t next_cut_ms = 0;
    std::vector<std::pair<std::int64_t, live::Batch>> held_back;
    Player* player_at = nullptr;
    const auto deliver = [&](const live::Batch& batch, std::int64_t arrived_ms) {
        auto events = live::StreamLines::read(batch.lines, std::exchange(first, false));
        ASSERT_TRUE(std::holds_alternative<std::vector<replay::Event>>(events))
            << std::get<std::string>(events);
        std::vector<live::BatchHold> holds;
        if (play.report_holds)
            for (const live::Hold& h : batch.holds)
                holds.push_back({h.frame, h.ms, h.key});
        if (play.claimed && batch.seq == 60)
            holds.push_back({batch.frame, play.claimed->ms, play.claimed->key});
        board.events().append(std::get<std::vector<replay::Event>>(events),
                              live::Mark{batch.seq, batch.frame, arrived_ms, holds});
    };
    const auto cut = [&](std::int64_t now_ms) {
        const std::optional<live::Batch> batch = feed.next();
        if (!batch)
            return;
        feed.acknowledged(batch->seq);
        ++outcome.batches;
        if (play.sent_at_once && dealt)
            held_back.emplace_back(0, *batch);
        else
            deliver(*batch, now_ms);
        if (outcome.batches == 50)
            board.want_screen();
    };

    Player player(play, [&] {
        if (player_at->now_ms() >= next_cut_ms && dealt) {
            cut(player_at->now_ms());
            next_cut_ms = player_at->now_ms() + 250;
        }
    });
    player_at = &player;
    player.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
    live::LivePlatform client(
        player, feed,
        [&](const std::string&, int) {
            dealt = live::DealtGame{SEED, player.now_ms()};
            return live::GameDeal{live::Dealt{1, SEED, "ab"}, {}};
        },
        [&] { return player.now_ms(); });
    std::ostringstream file;
    live::FeedTee tee(file, feed);
    replay::RecordingPlatform recorder(client, tee);
    app::Observers all({&recorder, &client, &player});
    {
        console::MemoryScreen screen;
        const console::Installation installed(screen, recorder);
        game::sessao(all);
    }
    feed.end();
    cut(player.now_ms());
    for (const auto& [at, batch] : held_back)
        deliver(batch, dealt->dealt_ms + 100);
    board.finish();
    outcome.recording = file.str();
    return outcome;
}

// The bytes of a cast's output events, one after the other.
std::string cast_output(const std::string& cast) {
    std::string bytes;
    std::istringstream lines(cast);
    std::string line;
    std::getline(lines, line); // the header
    while (std::getline(lines, line)) {
        const auto value = nlohmann::json::parse(line);
        if (value.at(1) == "o")
            bytes += value.at(2).get<std::string>();
    }
    return bytes;
}

// What a terminal shows once it has been sent these bytes.
std::vector<std::string> rows_of(const std::string& bytes) {
    terminal_test::VtermScreen terminal(replay::CAST_COLUMNS, replay::CAST_ROWS);
    terminal.feed(bytes);
    std::vector<std::string> rows;
    for (int y = 0; y < replay::CAST_ROWS; ++y)
        rows.push_back(terminal.row(y));
    return rows;
}

TEST(LiveReplay, JudgesEachWayOfPlaying) {
    struct Case {
        Play play;
        const char* reason_has; // nullptr: ranked
    };
    const std::vector<Case> cases = {
        {{"in real time"}, nullptr},
        {{"with drawing's overhead", 1.2}, nullptr},
        {{"at half speed", 2.0}, "slowed down"},
        {{"made in advance and sent at once", 1.0, 60'000, 0, true, true}, "made in advance"},
        {{"paused for a minute, the hold reported", 1.0, 120'000, 60'000}, nullptr},
        {{"paused for a minute, the hold not reported", 1.0, 120'000, 60'000, false},
         "slowed down"},
        {{"a key wait claimed where the game plays on", 1.0, 60'000, 0, true, false,
          live::BatchHold{0, 5'000, true}},
         "does not wait for the player"},
        {{"suspended, which may come at any frame", 1.0, 60'000, 0, true, false,
          live::BatchHold{0, 5'000, false}},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.play.what);
        const Outcome outcome = play_live(c.play);
        ASSERT_EQ(outcome.verdicts.size(), 1u);
        const live::LiveVerdict& verdict = outcome.verdicts.at(1);
        EXPECT_GT(outcome.batches, 100); // about four a second
        if (c.reason_has == nullptr)
            EXPECT_FALSE(verdict.open_reason) << *verdict.open_reason;
        else {
            ASSERT_TRUE(verdict.open_reason);
            EXPECT_NE(verdict.open_reason->find(c.reason_has), std::string::npos)
                << *verdict.open_reason;
        }
        // The replay of the stream is the replay of the file.
        const auto recording = replay::read_recording(outcome.recording);
        const replay::Verdict checked =
            replay::check_recording(std::get<replay::Recording>(recording));
        ASSERT_EQ(checked.games.size(), 1u);
        EXPECT_EQ(verdict.result.pontos, checked.games[0].result.pontos);
        ASSERT_FALSE(outcome.points.empty());
        EXPECT_EQ(outcome.points.back(), verdict.result.pontos);
        EXPECT_EQ(verdict.result.desfecho, checked.games[0].result.desfecho);
        EXPECT_TRUE(verdict.ended);
        // Watchers end on the screen the cast of the file ends on, and one
        // who joined late was sent the screen the others saw then.
        const auto cast = replay::asciicast(std::get<replay::Recording>(recording), "live");
        ASSERT_TRUE(std::holds_alternative<std::string>(cast));
        EXPECT_EQ(rows_of(outcome.shown), rows_of(cast_output(std::get<std::string>(cast))));
        ASSERT_FALSE(outcome.joined.second.empty());
        const auto seen = rows_of(outcome.joined.first);
        const auto sent = rows_of(outcome.joined.second);
        for (int y = 0; y < replay::CAST_ROWS; ++y)
            EXPECT_EQ(seen[y], sent[y]) << "row " << y;
        EXPECT_EQ(verdict.holds,
                  (c.play.pause_ms > 0 && c.play.report_holds ? 1 : 0) + (c.play.claimed ? 1 : 0));
        // The worst window the board logs is the game's own pace.
        if (c.play.pause_ms == 0 && !c.play.sent_at_once && !c.play.claimed) {
            EXPECT_NEAR(verdict.worst_ratio, c.play.slow, 0.1);
        }
    }
}

} // namespace
