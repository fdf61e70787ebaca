#pragma once
// The terminal's modes while the game runs, and putting them back as they
// were found.

#include "console/ansi/screen_modes.hpp"
#include "console/posix/tty.hpp"

#include <string_view>
#include <termios.h>

namespace console::posix {

// Keys one by one without echo. Ctrl-C and Ctrl-Z still raise their signals;
// Ctrl-S must not freeze the output, Enter must arrive as typed (CR), and
// the bytes written must reach the terminal unchanged.
termios raw_mode(const termios& cooked);

using ansi::enter_sequence;
using ansi::leave_sequence;

// Raw mode and the alternate screen for the object's lifetime, and out of
// them while the game is suspended.
class RawTerminal {
  public:
    // The terminal's modes as found are kept before anything changes.
    RawTerminal(int in_fd, int out_fd, const termios& found);
    ~RawTerminal();
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

    void enter();
    // Keys typed but not read are dropped, so they do not spill into the
    // shell when `discard_input`.
    void leave(bool discard_input);

    int in_fd() const { return in_; }
    int out_fd() const { return out_; }

  private:
    int in_;
    int out_;
    termios found_;
    bool raw_ = false;
};

} // namespace console::posix
