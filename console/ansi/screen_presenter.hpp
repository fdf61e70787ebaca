#pragma once
// A cell screen shown on an ANSI terminal: the model sized for the terminal,
// and at each wait point the bytes that bring the terminal from what it
// shows to the model. The terminal backend writes them to its tty; the
// cast export keeps them, so both send the same bytes.

#include "console/ansi/frame_renderer.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace console::ansi {

// The model for a terminal: its window the terminal's size, but never
// smaller than the session's screens (`least`, so a clear always covers
// them) nor wider or taller than the layer's 8-bit window record holds; the
// buffer one row taller, so writing the window's last cell never scrolls it.
struct ModelSize {
    int width = 0;
    int height = 0;
    int buffer_height = 0;
};
ModelSize model_size_for(Size terminal, Size least);
// The model resized, when it must be, and its window put at the top left.
void fit_model(CellScreen& model, Size terminal, Size least);

// The model's visible window as the terminal should show it.
Grid window_grid(const CellScreen& model);

class ScreenPresenter {
  public:
    // The bytes that bring the terminal to the model's window, the cursor
    // shown where the model has it when `cursor_visible`; empty when the
    // terminal shows it already.
    std::string next_frame(const CellScreen& model, bool cursor_visible);
    // The next frame clears the terminal and draws it all.
    void redraw_all();
    // The terminal was left and entered again: nothing it shows is known.
    void forget_terminal();

  private:
    void read_changed_rows(const CellScreen& model);
    void compare_every_row();

    TerminalPicture shown_;
    // What shown_ was last brought up to: the model's version and cursor.
    struct Presented {
        std::uint64_t version;
        std::optional<Point> cursor;
        friend bool operator==(const Presented&, const Presented&) = default;
    };
    std::optional<Presented> presented_;
    // The model's window as last read, and which of its rows may differ
    // from what the terminal shows: most rows of most frames keep still,
    // and a wait point need not read or compare them.
    Grid window_;
    Rect window_rect_{};
    std::uint64_t window_version_ = 0;
    std::vector<bool> rows_to_compare_;
    bool clear_pending_ = false;
};

} // namespace console::ansi
