#include "console/native.hpp"
#include "game/sessao.hpp"
#include "replay/check.hpp"
#include "replay/recording_file.hpp"
#include "replay/recording_platform.hpp"
#include "replay/replaying_platform.hpp"
#include "replay/verify.hpp"
#include "sample_session.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// An in-memory platform that takes a print of the screen at every point
// where the terminal would show it: each sleep and tone, and (when
// recording) each key the session waits for.
struct Watched : console::MemoryPlatform {
    explicit Watched(const console::MemoryScreen& s, bool key_waits = true)
        : screen(s), key_waits_show(key_waits) {}
    const console::MemoryScreen& screen;
    bool key_waits_show;
    bool announced = false;
    std::vector<std::size_t> prints;
    std::vector<std::pair<int, int>> tones;

    void print() {
        std::string cells;
        for (int r = 1; r <= 50; ++r)
            for (int c = 1; c <= 80; ++c)
                cells += {static_cast<char>(screen.at(c, r).ch),
                          static_cast<char>(screen.at(c, r).attr)};
        prints.push_back(std::hash<std::string>{}(cells));
    }
    bool kbhit() override { return announced = MemoryPlatform::kbhit(); }
    int getch() override {
        if (key_waits_show && !announced)
            print();
        announced = false;
        return MemoryPlatform::getch();
    }
    void sleep(int ms) override {
        print();
        MemoryPlatform::sleep(ms);
    }
    void beep(int hz, int ms) override {
        print();
        tones.emplace_back(hz, ms);
        MemoryPlatform::beep(hz, ms);
    }
};

replay::Recording read(const std::string& text) {
    auto read = replay::read_recording(text);
    EXPECT_TRUE(std::holds_alternative<replay::Recording>(read));
    return std::get<replay::Recording>(std::move(read));
}

struct Replayed {
    std::vector<std::size_t> prints;
    std::vector<std::pair<int, int>> tones;
    int status = 0;
    bool ran_out = false;
};

Replayed replay_in_memory(const replay::Recording& recording, replay::Pace pace,
                          std::string_view keys_pressed = {}) {
    console::MemoryScreen screen;
    Watched platform(screen, false);
    platform.push_keys(keys_pressed, 3000);
    replay::ReplayingPlatform player(platform, recording, pace);
    const console::Installation installed(screen, player);
    Replayed r;
    try {
        r.status = game::sessao();
    } catch (const console::SessionEnded& ended) {
        r.status = ended.status;
    }
    r.ran_out = player.ran_out();
    r.prints = platform.prints;
    r.tones = platform.tones;
    return r;
}

struct Verified {
    int status;
    std::string out;
    std::string err;
};

Verified verify(const replay::Recording& recording) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = replay::verify_recording(recording, "s.replay", out, err);
    return Verified{status, out.str(), err.str()};
}

// The sample session as recorded, with the prints of its wait points.
struct Recorded {
    std::string text;
    std::vector<std::size_t> prints;
    std::vector<std::pair<int, int>> tones;
};

Recorded record_the_sample() {
    console::MemoryScreen screen;
    Watched platform(screen);
    sample::script_session(platform);
    std::ostringstream out;
    replay::RecordingPlatform recorder(platform, out);
    const console::Installation installed(screen, recorder);
    EXPECT_EQ(game::sessao(recorder), 100);
    EXPECT_EQ(platform.keys_left(), 0u);
    return Recorded{out.str(), platform.prints, platform.tones};
}

struct Sample : ::testing::Test {
    static const Recorded& once() {
        static const Recorded r = record_the_sample();
        return r;
    }
    const std::string& text = once().text;
    const std::vector<std::size_t>& prints = once().prints;
};

TEST_F(Sample, AReplayShowsTheRecordedScreenAtEveryWaitEachWaitDividedByTheSpeed) {
    const Replayed r = replay_in_memory(read(text), replay::Pace{4, false});
    EXPECT_EQ(r.status, 100);
    EXPECT_FALSE(r.ran_out);
    EXPECT_EQ(r.prints, prints);
    auto quarter = once().tones;
    for (auto& [hz, ms] : quarter)
        ms /= 4;
    EXPECT_EQ(r.tones, quarter);
}

TEST_F(Sample, EscOnTheWatchedKeyboardEndsTheReplayOtherKeysDoNothing) {
    const Replayed stopped = replay_in_memory(read(text), replay::Pace{1, true}, "x\xe0H\x1b");
    EXPECT_EQ(stopped.status, 100);
    EXPECT_FALSE(stopped.ran_out);
    EXPECT_LT(stopped.prints.size(), prints.size() / 2);
    EXPECT_EQ(replay_in_memory(read(text), replay::Pace{1, false}, "\x1b").prints, prints);
}

TEST_F(Sample, VerifyingListsEachGameAndPassesOnlyWhatWasRecorded) {
    const Verified v = verify(read(text));
    EXPECT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.err, "");
    EXPECT_NE(v.out.find("partida 1: \"Ana\", nivel 4 a 4, "), std::string::npos) << v.out;
    EXPECT_NE(v.out.find(" 0 vidas, perdeu\npartida 2: \"Bob\", nivel 1 a 1, "), std::string::npos)
        << v.out;
    EXPECT_NE(v.out.find(", saiu\n2 partidas conferem com o registro\n"), std::string::npos);

    // A claimed score that the keys do not give.
    std::string claimed = text;
    claimed.insert(claimed.find("game lost 52 52 ") + 16, 1, '1');
    const Verified c = verify(read(claimed));
    EXPECT_EQ(c.status, 1);
    EXPECT_EQ(c.err.rfind("orbitrix: s.replay: game 1 differs: points 0 replayed, 10 recorded", 0),
              0u)
        << c.err;
}

TEST_F(Sample, ARecordingCutShortReplaysAsFarAsItGoesAndSaysSo) {
    // Cut inside the second game's play, the last write half done.
    const auto cut = read(text.substr(0, text.find("key 32 ", text.find("game lost")) + 4));
    EXPECT_TRUE(cut.cut_short);
    const Replayed r = replay_in_memory(cut, replay::Pace{});
    EXPECT_EQ(r.status, 100);
    EXPECT_TRUE(r.ran_out);
    EXPECT_EQ(r.prints, std::vector(prints.begin(), prints.begin() + r.prints.size()));

    const Verified v = verify(cut);
    EXPECT_EQ(v.status, 1);
    EXPECT_EQ(v.err, "orbitrix: s.replay line " + std::to_string(cut.last_line) +
                         ": the recording ends here, cut short: the replay ended early\n");
    EXPECT_NE(v.out.find("partida 1: "), std::string::npos);
}

} // namespace

namespace {

// A name typed with the code page's letters is recorded as UTF-8, and the
// replay gives the game the same code-page bytes, so it confirms the game.
TEST(Session, ANameWithAccentsIsRecordedInUtf8AndReplaysTheSameBytes) {
    console::MemoryConsole con;
    con.platform.set_time(1'765'000'000);
    con.platform.push_keys("1Jo\xc6o \x82\x87\r4");
    con.platform.push_key(27, 20LL * 60 * 1000);
    std::ostringstream out;
    {
        replay::RecordingPlatform recorder(con.platform, out);
        const console::Installation installed(con.screen, recorder);
        game::sessao(recorder);
    }
    const std::string text = out.str();
    EXPECT_NE(text.find(" \"Jo\xc3\xa3o \xc3\xa9\xc3\xa7\"\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\\x"), std::string::npos) << text;

    const auto read = replay::read_recording(text);
    ASSERT_TRUE(std::holds_alternative<replay::Recording>(read));
    const replay::Verdict verdict = replay::check_recording(std::get<replay::Recording>(read));
    EXPECT_EQ(verdict.outcome, replay::Verdict::Outcome::confirmed) << verdict.what;
    ASSERT_EQ(verdict.games.size(), 1u);
    EXPECT_EQ(verdict.games[0].result.nome, "Jo\xc6o \x82\x87");
}

} // namespace
