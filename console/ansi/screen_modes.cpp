#include "console/ansi/screen_modes.hpp"

#include "console/ansi/escapes.hpp"

#include <string>

namespace console::ansi {

std::string_view enter_sequence() {
    static const std::string bytes = std::string("\x1b[?1049h") // alternate screen
                                     + "\x1b[?7l"               // no autowrap
                                     + "\x1b[?1l"               // cursor keys send CSI
                                     + "\x1b>"                  // numeric keypad
                                     + std::string(clear_screen);
    return bytes;
}

std::string_view leave_sequence() {
    static const std::string bytes = std::string(plain_colours) + std::string(show_cursor) +
                                     "\x1b[?7h"       // autowrap
                                     + "\x1b[?1049l"; // main screen
    return bytes;
}

} // namespace console::ansi
