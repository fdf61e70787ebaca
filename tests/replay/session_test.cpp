#include "app/replay/recording_file.hpp"
#include "app/replay/recording_platform.hpp"
#include "app/replay/replaying_platform.hpp"
#include "app/replay/verify.hpp"
#include "console/native.hpp"
#include "game/sessao.hpp"
#include "sample_session.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// An in-memory platform that takes a print of the screen at every point
// where the terminal would show it: each sleep and tone, and each key the
// session waits for.
struct Watched : console::MemoryPlatform {
    explicit Watched(const console::MemoryScreen& s) : screen(s) {}
    const console::MemoryScreen& screen;
    bool key_waits_show = true;
    bool announced = false;
    std::vector<std::uint64_t> prints;

    void print() {
        std::uint64_t h = 1469598103934665603u;
        const auto mix = [&h](unsigned v) { h = (h ^ v) * 1099511628211u; };
        for (int r = 1; r <= 50; ++r)
            for (int c = 1; c <= 80; ++c) {
                const console::Cell cell = screen.at(c, r);
                mix(cell.ch);
                mix(cell.attr);
            }
        prints.push_back(h);
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
        MemoryPlatform::beep(hz, ms);
    }
};

replay::Recording read(const std::string& text) {
    auto read = replay::read_recording(text);
    EXPECT_TRUE(std::holds_alternative<replay::Recording>(read));
    return std::get<replay::Recording>(std::move(read));
}

struct Replayed {
    std::vector<std::uint64_t> prints;
    std::vector<console::Tone> tones;
    std::vector<int> sleeps;
    int status = 0;
    bool ran_out = false;
};

Replayed replay_in_memory(const replay::Recording& recording, replay::Pace pace,
                          std::string_view keys_pressed = {}) {
    console::MemoryScreen screen;
    Watched platform(screen);
    platform.key_waits_show = false;
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
    r.tones = platform.tones();
    r.sleeps = platform.sleeps();
    return r;
}

// The sample session as recorded, with the prints of its wait points.
struct Recorded {
    std::string text;
    std::vector<std::uint64_t> prints;
    std::vector<console::Tone> tones;
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
    return Recorded{out.str(), platform.prints, platform.tones()};
}

struct Sample : ::testing::Test {
    const Recorded& recorded = once();
    const std::string* text = &recorded.text;
    const std::vector<std::uint64_t>* prints = &recorded.prints;
    const std::vector<console::Tone>* tones = &recorded.tones;

    static const Recorded& once() {
        static const Recorded r = record_the_sample();
        return r;
    }
};

TEST_F(Sample, AReplayShowsTheRecordedScreenAtEveryWaitAndEndsAsTheSessionDid) {
    const Replayed r = replay_in_memory(read(*text), replay::Pace{});
    EXPECT_EQ(r.status, 100);
    EXPECT_FALSE(r.ran_out);
    ASSERT_EQ(r.prints.size(), prints->size());
    for (std::size_t i = 0; i < prints->size(); ++i)
        ASSERT_EQ(r.prints[i], (*prints)[i]) << "wait point " << i;
    ASSERT_EQ(r.tones.size(), tones->size());
    for (std::size_t i = 0; i < tones->size(); ++i)
        EXPECT_EQ(r.tones[i].hz * 10000 + r.tones[i].ms, (*tones)[i].hz * 10000 + (*tones)[i].ms);
}

TEST_F(Sample, TheSpeedDividesEveryWait) {
    const Replayed slow = replay_in_memory(read(*text), replay::Pace{1, false});
    const Replayed fast = replay_in_memory(read(*text), replay::Pace{4, false});
    ASSERT_EQ(fast.sleeps.size(), slow.sleeps.size());
    for (std::size_t i = 0; i < slow.sleeps.size(); ++i)
        ASSERT_EQ(fast.sleeps[i], slow.sleeps[i] / 4) << i;
    ASSERT_EQ(fast.tones.size(), slow.tones.size());
    for (std::size_t i = 0; i < slow.tones.size(); ++i)
        ASSERT_EQ(fast.tones[i].ms, slow.tones[i].ms / 4) << i;
    EXPECT_EQ(fast.prints, slow.prints);
}

TEST_F(Sample, EscOnTheWatchedKeyboardEndsTheReplayOtherKeysDoNothing) {
    const Replayed stopped = replay_in_memory(read(*text), replay::Pace{1, true}, "x\xe0H\x1b");
    EXPECT_EQ(stopped.status, 100);
    EXPECT_FALSE(stopped.ran_out);
    EXPECT_LT(stopped.prints.size(), prints->size() / 2);

    const Replayed unwatched = replay_in_memory(read(*text), replay::Pace{1, false}, "\x1b");
    EXPECT_EQ(unwatched.prints, *prints);
}

TEST_F(Sample, VerifyingListsEachGameAndPassesOnlyWhatWasRecorded) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(replay::verify_recording(read(*text), "s.replay", out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    const std::string listed = out.str();
    EXPECT_NE(listed.find("partida 1: \"Ana\", nivel 4 a 4, "), std::string::npos) << listed;
    EXPECT_NE(listed.find(" 0 vidas, perdeu\npartida 2: \"Bob\", nivel 1 a 1, "), std::string::npos)
        << listed;
    EXPECT_NE(listed.find(", saiu\n2 partidas conferem com o registro\n"), std::string::npos)
        << listed;

    // A claimed score that the keys do not give.
    std::string claimed = *text;
    const auto first_game = claimed.find("game lost 52 52 ");
    ASSERT_NE(first_game, std::string::npos);
    claimed.insert(first_game + 16, "1");
    std::ostringstream out2;
    std::ostringstream err2;
    EXPECT_EQ(replay::verify_recording(read(claimed), "s.replay", out2, err2), 1);
    EXPECT_EQ(err2.str().rfind("orbitrix: s.replay: game 1 differs: points ", 0), 0u) << err2.str();
}

TEST_F(Sample, ARecordingCutShortReplaysAsFarAsItGoesAndSaysSo) {
    // Cut inside the second game's play, the last write half done.
    const auto cut_at = text->find("key 32 ", text->find("game lost"));
    ASSERT_NE(cut_at, std::string::npos);
    const std::string cut = text->substr(0, cut_at + 4);
    const replay::Recording recording = read(cut);
    EXPECT_TRUE(recording.cut_short);

    const Replayed r = replay_in_memory(recording, replay::Pace{});
    EXPECT_EQ(r.status, 100);
    EXPECT_TRUE(r.ran_out);
    EXPECT_EQ(std::vector<std::uint64_t>(prints->begin(), prints->begin() + r.prints.size()),
              r.prints);

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(replay::verify_recording(recording, "s.replay", out, err), 1);
    EXPECT_EQ(err.str(), "orbitrix: s.replay line " + std::to_string(recording.last_line) +
                             ": the recording ends here, cut short: the replay ended early\n");
    EXPECT_NE(out.str().find("partida 1: "), std::string::npos);
}

} // namespace
