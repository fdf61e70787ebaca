#pragma once
// The terminal a cast is made on: an 80x50 terminal that takes each wait
// point's bytes from the backend's own presenter, on a clock that advances
// by each wait's length instead of waiting. The replay answers the keys and
// the clock reads, so none reaches it.

#include "console/ansi/screen_presenter.hpp"
#include "console/cell_screen.hpp"
#include "console/platform.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace replay {

struct CastEvent {
    std::int64_t at_ms = 0; // the session's time
    char code = 'o';        // 'o' bytes written, 'm' a marker
    std::string data;
    friend bool operator==(const CastEvent&, const CastEvent&) = default;
};

class CastTerminal : public console::Platform {
  public:
    CastTerminal(console::Size size, console::Size least);

    // The model the session draws on, sized as the backend sizes it.
    console::CellScreen& screen() { return model_; }

    bool kbhit() override { return false; }
    int getch() override;
    void sleep(int ms) override { wait(ms); }
    void beep(int /*hz*/, int ms) override { wait(ms); }
    void set_cursor_info(int size, bool visible) override;
    // A terminal of the session's least size or more: no growth is asked.
    void request_full_screen() override {}
    std::int64_t time() override { return 0; }

    // What a wait point would write, now; as the native runner does when
    // the session ends.
    void present();
    void mark(std::string label);

    std::int64_t now_ms() const { return now_ms_; }
    const std::vector<CastEvent>& events() const { return events_; }
    // The events so far, taken: a live replay passes them on as they come.
    std::vector<CastEvent> take_events() { return std::exchange(events_, {}); }
    // The bytes that draw all the model shows on a terminal that shows
    // nothing known: what a watcher who joins late is sent first.
    std::string whole_screen() const;

  private:
    void wait(int ms);

    console::CellScreen model_;
    console::ansi::ScreenPresenter presenter_;
    std::string pending_;
    bool cursor_visible_ = true;
    std::int64_t now_ms_ = 0;
    std::vector<CastEvent> events_;
};

} // namespace replay
