#pragma once
// The same pictures drawn through ncurses, for comparison: every cell of
// each picture put in its colour pair and one refresh, into a pipe that
// counts what ncurses writes. What it writes is also fed to a terminal
// emulator, to make sure it shows each picture as the game's output does.

#include "console/ansi/frame_renderer.hpp"

#include <cstddef>
#include <memory>

namespace bench {

class NcursesMirror {
  public:
    NcursesMirror(int columns, int rows, const char* term);
    ~NcursesMirror();
    NcursesMirror(const NcursesMirror&) = delete;
    NcursesMirror& operator=(const NcursesMirror&) = delete;

    // The bytes ncurses writes to show this picture after the last one.
    // Throws when the emulator shows anything else.
    std::size_t next(const console::ansi::Grid& wanted);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace bench
