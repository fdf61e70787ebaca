#pragma once
// The session in a page: the model drawn into the page's terminal by the
// same renderer a real terminal gets, the keys typed there decoded by the
// same decoder, and the waits kept as the terminal backend keeps them:
// a sleep lasts the time asked from when it is asked, the frame is shown
// at its start, and drawing time is not made up. While the tab is hidden
// the browser slows its timers, so the game holds at its next wait until
// the tab is in view again, and that time does not count. Each wait is
// cut in turns, and the program's other work (page_turns.hpp) runs at each.

#include "console/ansi/key_decoder.hpp"
#include "console/ansi/screen_presenter.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"
#include "console/platform.hpp"

#include <cstdint>
#include <optional>

namespace console::browser {

// The page's terminal, as the session needs it.
inline constexpr Size PAGE_TERMINAL{80, 50};

class PagePlatform : public Platform {
  public:
    PagePlatform(CellScreen& model, const NativeNeeds& needs);

    bool kbhit() override;
    int getch() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    void set_cursor_info(int size, bool visible) override;
    void request_full_screen() override {}
    std::int64_t time() override;

    // Shows what changed since the last frame.
    void flush();

  private:
    // Until the clock reaches `until_ms` or, `for_key`, a key is there.
    void wait(std::optional<std::int64_t> until_ms, bool for_key);
    void read_keys();
    // Holds while the tab is hidden; the time it held.
    std::int64_t hold_while_hidden();

    CellScreen& model_;
    ansi::ScreenPresenter presenter_;
    ansi::KeyDecoder keys_;
    bool cursor_visible_ = true;
};

} // namespace console::browser
