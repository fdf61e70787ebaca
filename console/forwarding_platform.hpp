#pragma once
// A platform that hands every call to another one. Decorators derive from
// it and change only the services they are about (silent tones, a
// recording, a replay), so the game never learns that they are there.

#include "console/platform.hpp"

namespace console {

class ForwardingPlatform : public Platform {
  public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    bool kbhit() override { return inner_.kbhit(); }
    int getch() override { return inner_.getch(); }
    void sleep(int ms) override { inner_.sleep(ms); }
    void beep(int hz, int ms) override { inner_.beep(hz, ms); }
    void set_cursor_info(int size, bool visible) override { inner_.set_cursor_info(size, visible); }
    void request_full_screen() override { inner_.request_full_screen(); }
    std::int64_t time() override { return inner_.time(); }
    int rand() override { return inner_.rand(); }
    void srand(unsigned seed) override { inner_.srand(seed); }

  protected:
    Platform& inner() { return inner_; }

  private:
    Platform& inner_;
};

} // namespace console
