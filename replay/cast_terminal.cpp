#include "replay/cast_terminal.hpp"

#include "console/ansi/screen_modes.hpp"
#include "console/native.hpp"

#include <algorithm>

namespace replay {

CastTerminal::CastTerminal(console::Size size, console::Size least)
    : pending_(console::ansi::enter_sequence()) {
    console::ansi::fit_model(model_, size, least);
    // As the backend starts: the terminal's content unknown, cleared and
    // drawn whole at the first wait point.
    presenter_.redraw_all();
}

int CastTerminal::getch() {
    // The replay takes every key from the recording; a session that asks
    // the terminal for one has outrun it.
    throw console::SessionEnded{100};
}

void CastTerminal::set_cursor_info(int /*size*/, bool visible) {
    cursor_visible_ = visible;
}

void CastTerminal::present() {
    std::string bytes = std::move(pending_);
    pending_.clear();
    bytes += presenter_.next_frame(model_, cursor_visible_);
    if (!bytes.empty())
        events_.push_back(CastEvent{now_ms_, 'o', std::move(bytes)});
}

std::string CastTerminal::whole_screen() const {
    console::ansi::ScreenPresenter fresh;
    fresh.redraw_all();
    return std::string(console::ansi::enter_sequence()) + fresh.next_frame(model_, cursor_visible_);
}

void CastTerminal::mark(std::string label) {
    events_.push_back(CastEvent{now_ms_, 'm', std::move(label)});
}

void CastTerminal::wait(int ms) {
    present();
    now_ms_ += std::max(ms, 0);
}

} // namespace replay
