#pragma once
// The terminal's output side: the model of the screen, diffed against what
// the terminal is known to show, the changed cells written in one go; and,
// while the terminal is too small for the session, the size notice in its
// place. A write that fails ends the session (SessionEnded).

#include "console/ansi/frame_renderer.hpp"
#include "console/ansi/size_notice.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"
#include "console/posix/tty.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace console::posix {

// The model for a terminal: its window the terminal's size, but never
// smaller than the session's screens (`least`, so a clear always covers
// them) nor wider or taller than the layer's 8-bit window record holds; the
// buffer one row taller, so writing the window's last cell never scrolls it.
struct ModelSize {
    int width = 0;
    int height = 0;
    int buffer_height = 0;
};
ModelSize model_size_for(TerminalSize terminal, TerminalSize least);

// The model's visible window as the terminal should show it.
ansi::Grid window_grid(const CellScreen& model);

class TerminalView {
  public:
    // Reads the terminal's size and fits the model to it. Colours are told
    // to the terminal as `colours` says.
    TerminalView(int out_fd, CellScreen& model, NativeNeeds needs, ansi::TerminalTraits traits = {},
                 ansi::Colours colours = {});

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
    void read_changed_rows();
    void compare_every_row();

    int out_;
    CellScreen& model_;
    NativeNeeds needs_;
    ansi::TerminalTraits traits_;
    ansi::Colours colours_;
    ansi::TerminalPicture shown_;
    // What shown_ was last brought up to: the model's version and cursor.
    struct Presented {
        std::uint64_t version;
        std::optional<ansi::Point> cursor;
        friend bool operator==(const Presented&, const Presented&) = default;
    };
    std::optional<Presented> presented_;
    // The model's window as last read, and which of its rows may differ
    // from what the terminal shows: most rows of most frames keep still,
    // and a wait point need not read or compare them.
    ansi::Grid window_;
    Rect window_rect_{};
    std::uint64_t window_version_ = 0;
    std::vector<bool> rows_to_compare_;
    TerminalSize size_;
    bool cursor_visible_ = true;
    bool growth_requested_ = false;
    bool clear_pending_ = false;
};

} // namespace console::posix
