// The sound card path, on ALSA's null device, which opens and takes samples
// like a card without one.
#include "console/ansi/tone_pcm.hpp"
#include "console/posix/speaker.hpp"

#include <gtest/gtest.h>

namespace {

using console::ansi::tone_pcm;
using console::posix::Speaker;

const std::function<void()> no_signal = [] {};

TEST(Speaker, PlaysToneAfterToneOnADevice) {
    Speaker speaker(48000, true, "null");
    int signals = 0;
    const std::function<void()> count = [&] { ++signals; };
    for (const int hz : {660, 734, 440})
        EXPECT_TRUE(speaker.play(tone_pcm(hz, 120), count));
    EXPECT_TRUE(speaker.play(tone_pcm(100, 125), count));
    EXPECT_EQ(signals, 0);
}

TEST(Speaker, IsSilentWithoutADeviceOrWhenOff) {
    Speaker missing(48000, true, "no_such_device_here");
    EXPECT_FALSE(missing.play(tone_pcm(440, 10), no_signal));
    EXPECT_FALSE(missing.play(tone_pcm(440, 10), no_signal)); // tried once only
    Speaker off(48000, false, "null");
    EXPECT_FALSE(off.play(tone_pcm(440, 10), no_signal));
}

} // namespace
