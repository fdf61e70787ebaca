#pragma once
// A cell screen presented on a real terminal. The session draws into the
// model; at each wait point (a sleep, a tone, a key wait, the exit) the
// cells that changed go to the terminal in one write. Made of the input
// (keys and signals), the view (the model shown on the terminal) and the
// wait policy that pumps the one and flushes the other.

#include "console/ansi/terminal_traits.hpp"
#include "console/ansi/tone_pcm.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"
#include "console/platform.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/speaker.hpp"
#include "console/posix/terminal_input.hpp"
#include "console/posix/terminal_modes.hpp"
#include "console/posix/terminal_view.hpp"
#include "console/posix/wait_policy.hpp"

#include <cstdint>

namespace console::posix {

class TerminalPlatform : public Platform {
  public:
    TerminalPlatform(RawTerminal& terminal, SignalWatch& signals, CellScreen& model,
                     NativeNeeds needs, bool sound, const ansi::TerminalTraits& traits = {},
                     ansi::Colours colours = {});

    bool kbhit() override;
    int getch() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    void set_cursor_info(int size, bool visible) override;
    // A request that the terminal grow to the least size, sent at the next
    // wait point; none when it is that large already.
    void request_full_screen() override;
    std::int64_t time() override;

    // Writes what changed since the last frame; throws SessionEnded when the
    // terminal is gone.
    void flush();

  private:
    TerminalInput input_;
    TerminalView view_;
    WaitPolicy waits_;
    ansi::ToneFormat tone_format_;
    Speaker speaker_;
};

} // namespace console::posix
