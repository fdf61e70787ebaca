#include "console/ansi/tone_pcm.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using console::ansi::tone_pcm;
using console::ansi::ToneFormat;

int sign_changes(const std::vector<std::int16_t>& s) {
    int changes = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        if ((s[i - 1] < 0) != (s[i] < 0))
            ++changes;
    return changes;
}

TEST(TonePcm, LastsExactlyAsLong) {
    EXPECT_EQ(tone_pcm(440, 1000).size(), 48000u);
    EXPECT_EQ(tone_pcm(660, 10).size(), 480u);
    EXPECT_EQ(tone_pcm(100, 125, ToneFormat{44100, 3, 6000}).size(), 5512u);
    EXPECT_TRUE(tone_pcm(440, 0).empty());
    EXPECT_TRUE(tone_pcm(440, -5).empty());
}

TEST(TonePcm, HasThePeriodOfItsFrequency) {
    // Two sign changes per period.
    EXPECT_NEAR(sign_changes(tone_pcm(440, 1000)), 2 * 440, 2);
    EXPECT_NEAR(sign_changes(tone_pcm(844, 500)), 844, 2);
    EXPECT_NEAR(sign_changes(tone_pcm(100, 125)), 25, 2);
    // One period of 440 Hz is 48000 / 440 = 109 samples.
    const auto s = tone_pcm(440, 100);
    std::size_t first = 0;
    while (s[first] >= 0 || s[first + 1] < 0) // first rise after the start
        if (++first + 1 >= s.size())
            FAIL();
    std::size_t next = first + 1;
    while (s[next] >= 0 || s[next + 1] < 0)
        ++next;
    EXPECT_NEAR(static_cast<double>(next - first), 48000.0 / 440, 1.0);
}

TEST(TonePcm, FadesInAndOutToAvoidClicks) {
    const ToneFormat f{48000, 3, 6000};
    const auto s = tone_pcm(440, 200, f);
    const std::size_t fade = 48000 * 3 / 1000;
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
    for (std::size_t i = 1; i < fade; ++i) {
        EXPECT_LE(std::abs(s[i - 1]), std::abs(s[i]) + 0) << "rising at " << i;
        EXPECT_LT(std::abs(s[i]), f.peak);
    }
    const auto loudest = *std::max_element(s.begin(), s.end());
    EXPECT_EQ(loudest, f.peak);
    EXPECT_EQ(std::abs(s[s.size() / 2]), f.peak);
    // A 10 ms click still reaches full height.
    const auto click = tone_pcm(634, 10, f);
    EXPECT_EQ(*std::max_element(click.begin(), click.end()), f.peak);
}

TEST(TonePcm, FrequenciesNoSpeakerSoundsAreSilence) {
    for (const int hz : {0, 10, 24000, 40000}) {
        const auto s = tone_pcm(hz, 50);
        EXPECT_EQ(s.size(), 2400u);
        EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](std::int16_t v) { return v == 0; }));
    }
}

} // namespace
