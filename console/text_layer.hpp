#pragma once
// The console text layer: clear the visible window, address its cells from
// (1, 1), choose colours. Attributes are background * 16 + foreground, with
// neither colour masked, exactly as the game has always formed them.

#include <cstdint>

namespace console {

struct text_info {
    std::uint8_t cursorcol = 1;
    std::uint8_t cursorrow = 1;
    std::uint16_t currattr = 7;
    std::uint16_t normalattr = 7;
    std::uint8_t winwidth = 80;
    std::uint8_t winheight = 25;
};

// The layer's process-wide values. (Their traditional names carry two
// leading underscores, which C++ reserves; they are kept without them.)
struct LayerState {
    int FOREGROUND = 7;
    int BACKGROUND = 0;
    int CONIO_LEFT = 0;
    int CONIO_TOP = 0;
    console::text_info text_info;
};

const LayerState& layer_state();
void reset_layer_state();

void clrscr();
void gotoxy(int column, int row);
void textcolor(int colour);
void textbackground(int colour);

} // namespace console
