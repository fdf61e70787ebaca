#pragma once
// The samples of one tone as the PC speaker would sound it: a square wave,
// faded in and out over a few milliseconds so that notes that follow each
// other do not click.

#include <cstdint>
#include <vector>

namespace console::ansi {

struct ToneFormat {
    int rate = 48000;         // samples per second, one channel
    int fade_ms = 3;          // at each end; shortened for short tones
    std::int16_t peak = 6000; // loud enough, far from clipping
};

// rate * ms / 1000 samples; silence at frequencies no speaker sounds (below
// 20 Hz, or at or above half the rate).
std::vector<std::int16_t> tone_pcm(int hz, int ms, ToneFormat format = {});

} // namespace console::ansi
