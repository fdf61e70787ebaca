#include "vterm_screen.hpp"

#include "console/glyphs.hpp"

#include <vterm.h>

namespace terminal_test {
namespace {

int palette_index(const VTermColor& c, bool foreground) {
    if (foreground ? VTERM_COLOR_IS_DEFAULT_FG(&c) : VTERM_COLOR_IS_DEFAULT_BG(&c))
        return -1;
    if (VTERM_COLOR_IS_INDEXED(&c))
        return c.indexed.idx;
    return -2; // an RGB colour: never what the backend sends
}

int prop_callback(VTermProp prop, VTermValue* value, void* self);

const VTermScreenCallbacks callbacks = {
    nullptr, nullptr, nullptr, prop_callback, nullptr, nullptr, nullptr, nullptr,
};

} // namespace

VtermScreen::VtermScreen(int columns, int rows)
    : columns_(columns), rows_(rows), vt_(vterm_new(rows, columns)),
      screen_(vterm_obtain_screen(vt_)) {
    vterm_set_utf8(vt_, 1);
    vterm_screen_set_callbacks(screen_, &callbacks, this);
    vterm_screen_enable_altscreen(screen_, 1);
    vterm_screen_reset(screen_, 1);
}

VtermScreen::~VtermScreen() {
    vterm_free(vt_);
}

void VtermScreen::feed(std::string_view bytes) {
    vterm_input_write(vt_, bytes.data(), bytes.size());
    vterm_screen_flush_damage(screen_);
}

SeenCell VtermScreen::cell(int x, int y) const {
    VTermScreenCell c{};
    vterm_screen_get_cell(screen_, VTermPos{y, x}, &c);
    SeenCell seen;
    // An erased cell holds nothing, and shows as a blank.
    seen.ch = c.chars[0] == 0 ? U' ' : c.chars[0];
    seen.foreground = palette_index(c.fg, true);
    seen.background = palette_index(c.bg, false);
    seen.width = c.width;
    return seen;
}

std::string VtermScreen::row(int y) const {
    std::string out;
    for (int x = 0; x < columns_; ++x) {
        const char32_t c = cell(x, y).ch;
        out += console::utf8_of(c);
    }
    return out;
}

bool VtermScreen::shows(std::string_view text) const {
    for (int y = 0; y < rows_; ++y)
        if (row(y).find(text) != std::string::npos)
            return true;
    return false;
}

int VtermScreen::cursor_x() const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(vt_), &pos);
    return pos.col;
}

int VtermScreen::cursor_y() const {
    VTermPos pos{};
    vterm_state_get_cursorpos(vterm_obtain_state(vt_), &pos);
    return pos.row;
}

void VtermScreen::note_prop(int prop, bool value) {
    if (prop == VTERM_PROP_CURSORVISIBLE)
        cursor_visible_ = value;
    if (prop == VTERM_PROP_ALTSCREEN)
        altscreen_ = value;
}

namespace {
int prop_callback(VTermProp prop, VTermValue* value, void* self) {
    static_cast<VtermScreen*>(self)->note_prop(prop, value->boolean != 0);
    return 1;
}
} // namespace

} // namespace terminal_test
