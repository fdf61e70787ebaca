// Whole sessions on the in-memory console with the command line's options:
// a player who types the start-up keys and then lets each game be lost.
#include "app/arrow_keys.hpp"
#include "app/play.hpp"
#include "app/seeded_clock.hpp"
#include "app/silent_tones.hpp"
#include "console/forwarding_platform.hpp"
#include "console/memory_console.hpp"
#include "game/resultado.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A digest of the screen's text at every sleep; the next game's keys typed
// when the game waits for a key and none is left. Colours are left out: a
// later game's title is drawn in the colour the last end screen left.
class Recorder : public console::ForwardingPlatform {
  public:
    Recorder(console::MemoryConsole& con, std::vector<std::string> games)
        : ForwardingPlatform(con.platform), con_(con), games_(std::move(games)) {}

    void sleep(int ms) override {
        screens.push_back(digest());
        inner().sleep(ms);
    }
    int getch() override {
        if (con_.platform.keys_left() == 0 && next_ < games_.size())
            con_.platform.push_keys(games_[next_++], con_.platform.now_ms());
        return inner().getch();
    }

    std::vector<std::uint64_t> screens;

  private:
    std::uint64_t digest() const {
        std::uint64_t h = 14695981039346656037u;
        for (int row = 1; row <= 50; ++row)
            for (int column = 1; column <= 80; ++column) {
                const console::Cell cell = con_.screen.at(column, row);
                h = (h ^ cell.ch) * 1099511628211u;
            }
        return h;
    }

    console::MemoryConsole& con_;
    std::vector<std::string> games_;
    std::size_t next_ = 0;
};

struct Session {
    std::vector<std::uint64_t> screens;
    std::size_t tones;
    std::size_t sleeps;
    std::int64_t ended_at_ms;
};

// Game one, then "1" to play again and game two; the session stops at the
// second game's end screen, where no key comes.
const std::vector<std::string> TWO_GAMES{"1Ana\r4", "11Ana\r4"};
const std::vector<std::string> ONE_GAME{"1Ana\r4"};

Session play(const app::Options& options, const std::vector<std::string>& games,
             std::int64_t clock = 1'700'000'000, std::ostream* recording = nullptr) {
    console::MemoryConsole con;
    con.platform.set_time(clock);
    Recorder recorder(con, games);
    game::Observador nobody;
    EXPECT_THROW(app::play(options, con.screen, recorder, nobody, recording),
                 console::ScriptExhausted);
    return {recorder.screens, con.platform.tones().size(), con.platform.sleeps().size(),
            con.platform.now_ms()};
}

TEST(SeededSession, EachGameIsSeededWithTheNextNumberInPlaceOfTheTime) {
    const Session seeded = play({.seed = 42}, TWO_GAMES);
    const Session again = play({.seed = 42}, TWO_GAMES, 1'800'000'000);
    EXPECT_EQ(seeded.screens, again.screens);

    // Game two is game one of a session seeded with 43, to its last screen.
    const Session next = play({.seed = 43}, ONE_GAME);
    ASSERT_LT(next.screens.size(), seeded.screens.size());
    const auto game_two = seeded.screens.end() - static_cast<std::ptrdiff_t>(next.screens.size());
    EXPECT_TRUE(std::equal(next.screens.begin(), next.screens.end(), game_two));
    // And game one is not: the seeds did differ.
    const Session first = play({.seed = 42}, ONE_GAME);
    EXPECT_NE(first.screens, next.screens);
    EXPECT_TRUE(std::equal(first.screens.begin(), first.screens.end(), seeded.screens.begin()));
}

TEST(SeededSession, SeedsWrapPastTheLargest) {
    console::MemoryPlatform inner;
    app::SeededClock clock(inner, 4294967295u);
    EXPECT_EQ(clock.time(), 4294967295);
    clock.partida_comeca();
    EXPECT_EQ(clock.time(), 4294967295);
    clock.partida_comeca();
    EXPECT_EQ(clock.time(), 0);
}

TEST(MutedSession, EveryToneIsASilenceOfItsLengthAndPlayKeepsItsPace) {
    console::MemoryPlatform inner;
    app::SilentTones silent(inner);
    silent.beep(880, 120);
    EXPECT_TRUE(inner.tones().empty());
    EXPECT_EQ(inner.sleeps(), std::vector<int>{120});
    EXPECT_EQ(inner.now_ms(), 120);

    const Session loud = play({.seed = 7}, TWO_GAMES);
    const Session muted = play({.seed = 7, .mute = true}, TWO_GAMES);
    ASSERT_GT(loud.tones, 0u);
    EXPECT_EQ(muted.tones, 0u);
    EXPECT_EQ(muted.sleeps, loud.sleeps + loud.tones);
    EXPECT_EQ(muted.ended_at_ms, loud.ended_at_ms);
    EXPECT_EQ(muted.screens.back(), loud.screens.back());
}

// The codes a Windows console or the key decoder give the arrow keys.
const std::string LEFT = "\xe0K";
const std::string RIGHT = "\xe0M";
const std::string UP = "\xe0H";
const std::string DOWN = "\xe0P";

TEST(ArrowKeys, EachArrowIsItsLetterAndEveryOtherKeyPassesAsItCame) {
    console::MemoryPlatform inner;
    // Home, then F1 (0 and ';'), then plain keys round the arrows.
    inner.push_keys(LEFT + RIGHT + "x" + UP + DOWN + "\xe0G" + std::string("\0;", 2) + "P");
    app::ArrowKeys arrows(inner);
    std::vector<int> read;
    while (arrows.kbhit())
        read.push_back(arrows.getch());
    EXPECT_EQ(read, (std::vector<int>{'a', 'd', 'x', 'w', 's', 224, 'G', 0, ';', 'P'}));
}

TEST(ArrowKeys, AnArrowSteersTheShipAsItsLetterAndTheRecordingReplaysWithoutTheOption) {
    const Session letters = play({.seed = 7}, {"1Ana\r4aaw"});
    const Session still = play({.seed = 7}, {"1Ana\r4"});
    ASSERT_NE(letters.screens, still.screens);
    // Without the option the arrows do nothing.
    EXPECT_EQ(play({.seed = 7}, {"1Ana\r4" + LEFT + LEFT + UP}).screens, still.screens);

    // The recording is the one the letters make, so it replays as they do.
    std::ostringstream with_arrows;
    std::ostringstream with_letters;
    const std::int64_t clock = 1'700'000'000;
    const Session steered =
        play({.seed = 7, .arrows = true}, {"1Ana\r4" + LEFT + LEFT + UP}, clock, &with_arrows);
    play({.seed = 7}, {"1Ana\r4aaw"}, clock, &with_letters);
    EXPECT_EQ(steered.screens, letters.screens);
    EXPECT_NE(with_arrows.str().find("key 97 "), std::string::npos) << with_arrows.str();
    EXPECT_EQ(with_arrows.str(), with_letters.str());
}

} // namespace
