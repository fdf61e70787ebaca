#pragma once
// Keys, time, tones and the console window's requests on Windows, over the
// runtime's console input and kernel32's and user32's own calls.

#include "console/platform.hpp"

namespace console {

// Every wait here ends the session (SessionEnded{100}) once Ctrl-C,
// Ctrl-Break or a closed window asks for it (session_end.hpp): a key wait and
// a sleep at once, a tone when it has sounded.
class WindowsPlatform : public Platform {
  public:
    WindowsPlatform();
    ~WindowsPlatform() override;
    WindowsPlatform(const WindowsPlatform&) = delete;
    WindowsPlatform& operator=(const WindowsPlatform&) = delete;

    bool kbhit() override;
    // Ctrl-C typed while a key is awaited ends the session, as it does at
    // any other moment.
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
    void await_key();

    // The console's input, waited on for keys; the runtime reads them from
    // its own handle.
    void* input_;
    bool after_prefix_ = false;
};

} // namespace console
