#pragma once
// What the game changes on the console, and putting it back. The game hides
// the cursor, leaves its last colour current and draws with an output mode
// of its own; the runtime's key reading switches the input mode for the
// length of each read, so an interrupted read would leave it raw.

#include "console/palette.hpp"

#include <array>
#include <cstdint>

namespace console {

struct ConsoleState {
    unsigned output_code_page = 0;
    unsigned input_code_page = 0;
    bool has_output_mode = false;
    unsigned long output_mode = 0;
    bool has_input_mode = false;
    unsigned long input_mode = 0;
    bool has_cursor = false;
    unsigned long cursor_size = 25;
    bool cursor_visible = true;
    bool has_attribute = false;
    std::uint16_t attribute = 7;
    // The colours the console shows its sixteen in, as COLORREFs.
    bool has_colour_table = false;
    std::array<unsigned long, 16> colour_table{};
};

// The console's own input, whatever standard input is: the runtime reads
// keys from it, so its mode is the one to put back and the one to wait on.
// INVALID_HANDLE_VALUE when there is no console.
void* open_console_input();

// Handles are those of the console's output buffer and input; a null or
// invalid one leaves its part out.
ConsoleState capture_console(void* output, void* input);
// Puts back what was captured.
void restore_console(const ConsoleState& state, void* output, void* input);

// The cursor at the start of the row below the window, the buffer scrolled
// when the window ends it: what is printed after the session goes under its
// last screen, not over it.
void move_below_window(void* output);

// The output mode the game draws in: line wrap at the buffer's right edge and
// no terminal escape processing, whatever the console was using, so the
// cursor lands on the next row after a write to the last column.
void set_drawing_mode(void* output, const ConsoleState& found);

// The console's colour table set to the palette's colours, for the palettes
// that fix them (fixed, colour-blind); the others leave the theme's.
void set_palette_colours(void* output, Palette palette);

} // namespace console
