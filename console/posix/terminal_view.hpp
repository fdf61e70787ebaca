#pragma once
// The terminal's output side: the model of the screen, diffed against what
// the terminal is known to show, the changed cells written in one go; and,
// while the terminal is too small for the session, the size notice in its
// place. A write that fails ends the session (SessionEnded).

#include "console/ansi/screen_presenter.hpp"
#include "console/ansi/size_notice.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"
#include "console/posix/tty.hpp"

namespace console::posix {

class TerminalView {
  public:
    // Reads the terminal's size and fits the model to it.
    TerminalView(int out_fd, CellScreen& model, NativeNeeds needs);

    // Reads the terminal's size again; on a change the model follows and
    // the next flush clears the terminal and draws it all.
    void update_size();
    bool fits() const { return ansi::fits(size_, needs_.least); }
    TerminalSize size() const { return size_; }

    // Writes what changed since the last flush.
    void flush();
    // The size notice for the size the terminal has, instead of the model.
    void show_size_notice();
    // The next flush clears the terminal and draws it all.
    void redraw_all();
    // The terminal was left and entered again: nothing it shows is known.
    void forget_terminal();

    void set_cursor_visible(bool visible) { cursor_visible_ = visible; }

    void request_growth() { growth_requested_ = true; }
    // A request, when one is pending, that the terminal grow to the least
    // size; none when it is that large already.
    void send_growth_request();

  private:
    int out_;
    CellScreen& model_;
    NativeNeeds needs_;
    ansi::ScreenPresenter presenter_;
    TerminalSize size_;
    bool cursor_visible_ = true;
    bool growth_requested_ = false;
};

} // namespace console::posix
