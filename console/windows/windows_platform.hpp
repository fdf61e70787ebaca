#pragma once
// Keys, time, tones and the console window's requests on Windows, over the
// runtime's console input and kernel32's and user32's own calls.

#include "console/platform.hpp"

namespace console {

class WindowsPlatform : public Platform {
  public:
    bool kbhit() override;
    // Ctrl-C typed while a key is awaited ends the session (SessionEnded),
    // as it does at any other moment.
    int getch() override;
    void sleep(int ms) override;
    // Lasts the tone's length even where Beep returns at once (no speaker,
    // a remote session, wine), so the game keeps its pace.
    void beep(int hz, int ms) override;
    void set_cursor_info(int size, bool visible) override;
    // Sends full_screen_keys.
    void request_full_screen() override;
    std::int64_t time() override;

  private:
    bool after_prefix_ = false;
};

} // namespace console
