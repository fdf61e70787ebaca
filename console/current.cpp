#include "console/current.hpp"

#include "console/text_layer.hpp"

#include <cassert>

namespace console {
namespace {
// One per thread: the board replays several sessions at once, each on its
// own in-memory console; the game itself runs on one thread.
thread_local ScreenBuffer* installed_screen = nullptr;
thread_local Platform* installed_platform = nullptr;
} // namespace

Installation::Installation(ScreenBuffer& screen, Platform& platform)
    : previous_screen_(installed_screen), previous_platform_(installed_platform) {
    installed_screen = &screen;
    installed_platform = &platform;
    reset_layer_state();
}

Installation::~Installation() {
    installed_screen = previous_screen_;
    installed_platform = previous_platform_;
}

ScreenBuffer& screen() {
    assert(installed_screen != nullptr);
    return *installed_screen;
}

Platform& platform() {
    assert(installed_platform != nullptr);
    return *installed_platform;
}

} // namespace console
