#include "console/posix/speaker.hpp"

#include <alsa/asoundlib.h>

#include <cerrno>

namespace console::posix {
namespace {

// ALSA reports a missing card on stderr, right over the game's screen.
extern "C" void quiet_alsa(const char*, int, const char*, int, const char*, ...) {}

// Short enough that a tone ends close to when its call returns, long
// enough to ride over the game's work between two notes.
constexpr unsigned latency_us = 50'000;

} // namespace

struct Speaker::Device {
    snd_pcm_t* pcm = nullptr;
    ~Device() {
        if (pcm != nullptr) {
            snd_pcm_drop(pcm);
            snd_pcm_close(pcm);
        }
    }
};

Speaker::Speaker(int rate, bool enabled, const char* device)
    : rate_(rate), enabled_(enabled), device_name_(device) {}
Speaker::~Speaker() = default;

bool Speaker::play(std::span<const std::int16_t> samples, const std::function<void()>& on_signal) {
    if (!enabled_)
        return false;
    if (!tried_) {
        tried_ = true;
        snd_lib_error_set_handler(quiet_alsa);
        auto device = std::make_unique<Device>();
        // Non-blocking open, so a card held by another program does not
        // hang the game; the writes block as a tone should.
        if (snd_pcm_open(&device->pcm, device_name_, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) <
            0) {
            device->pcm = nullptr;
            return false;
        }
        if (snd_pcm_nonblock(device->pcm, 0) < 0 ||
            snd_pcm_set_params(device->pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                               static_cast<unsigned>(rate_), 1, latency_us) < 0)
            return false;
        device_ = std::move(device);
    }
    if (!device_)
        return false;

    std::size_t done = 0;
    while (done < samples.size()) {
        const snd_pcm_sframes_t n =
            snd_pcm_writei(device_->pcm, samples.data() + done, samples.size() - done);
        if (n == -EINTR) {
            on_signal();
            continue;
        }
        if (n < 0) {
            // An underrun after a quiet spell, or the card suspended.
            if (snd_pcm_recover(device_->pcm, static_cast<int>(n), 1) < 0) {
                device_.reset();
                return false;
            }
            continue;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace console::posix
