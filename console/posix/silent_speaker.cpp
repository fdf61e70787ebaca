// Built where there is no ALSA: every tone is a silent pause.
#include "console/posix/speaker.hpp"

namespace console::posix {

struct Speaker::Device {};

// Off whatever the caller asks: nothing here can sound.
Speaker::Speaker(int rate, bool /*enabled*/, const char* device)
    : rate_(rate), enabled_(false), device_name_(device) {}
Speaker::~Speaker() = default;

bool Speaker::play(std::span<const std::int16_t>, const std::function<void()>&) {
    return false;
}

} // namespace console::posix
