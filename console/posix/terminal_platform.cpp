#include "console/posix/terminal_platform.hpp"

#include "console/posix/steady_ms.hpp"

#include <algorithm>
#include <ctime>
#include <optional>

namespace console::posix {

TerminalPlatform::TerminalPlatform(RawTerminal& terminal, SignalWatch& signals, CellScreen& model,
                                   NativeNeeds needs, bool sound,
                                   const ansi::TerminalTraits& traits, ansi::Colours colours)
    : input_(terminal, signals, traits.typed_high_bytes),
      view_(terminal.out_fd(), model, std::move(needs), traits, colours), waits_(input_, view_),
      speaker_(tone_format_.rate, sound) {}

bool TerminalPlatform::kbhit() {
    input_.drain();
    return input_.has_key();
}

int TerminalPlatform::getch() {
    waits_.wait(std::nullopt, true);
    return input_.take_key();
}

void TerminalPlatform::sleep(int ms) {
    waits_.wait(steady_ms() + std::max(ms, 0), false);
}

void TerminalPlatform::beep(int hz, int ms) {
    // The screen first shows what the tone goes with.
    waits_.wait(steady_ms(), false);
    const std::int64_t start = steady_ms();
    if (ms > 0 && speaker_.may_sound())
        speaker_.play(ansi::tone_pcm(hz, ms, tone_format_), [this] { waits_.take_signals(); });
    // The rest of the tone's time, or all of it when nothing sounds.
    waits_.wait(start + std::max(ms, 0), false);
}

void TerminalPlatform::set_cursor_info(int /*size*/, bool visible) {
    view_.set_cursor_visible(visible);
}

void TerminalPlatform::request_full_screen() {
    // A terminal has no full screen to go to; room enough is what counts.
    view_.request_growth();
}

std::int64_t TerminalPlatform::time() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

void TerminalPlatform::flush() {
    view_.flush();
}

} // namespace console::posix
