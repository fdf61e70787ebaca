#include "console/ansi/tone_pcm.hpp"

#include <algorithm>

namespace console::ansi {

std::vector<std::int16_t> tone_pcm(int hz, int ms, ToneFormat format) {
    if (ms <= 0 || format.rate <= 0)
        return {};
    const std::int64_t count = std::int64_t{format.rate} * ms / 1000;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count), 0);
    if (hz < 20 || std::int64_t{hz} * 2 >= format.rate)
        return samples;

    // Never more than a quarter of the tone each way, so a 10 ms click
    // still reaches full height.
    const std::int64_t fade =
        std::min<std::int64_t>(std::int64_t{format.rate} * format.fade_ms / 1000, count / 4);
    for (std::int64_t i = 0; i < count; ++i) {
        // Integer phase: exactly `hz` periods each second, no drift.
        const bool high = (i * hz) % format.rate < format.rate / 2;
        const std::int64_t from_edge = std::min(i, count - 1 - i);
        std::int64_t level = format.peak;
        if (from_edge < fade)
            level = level * from_edge / fade;
        samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(high ? level : -level);
    }
    return samples;
}

} // namespace console::ansi
