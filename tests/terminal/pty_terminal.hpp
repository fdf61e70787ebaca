#pragma once
// A pseudo-terminal for the backend to run on in-process: the test types at
// its far end and collects what the backend writes, to read it back through
// a terminal emulator.

#include "vterm_screen.hpp"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace terminal_test {

class PtyTerminal {
  public:
    PtyTerminal(int columns, int rows);
    ~PtyTerminal();
    PtyTerminal(const PtyTerminal&) = delete;
    PtyTerminal& operator=(const PtyTerminal&) = delete;

    // The backend's end.
    int tty() const { return slave_; }

    void type(std::string_view keys);
    // The window's new size, as a resize would set it (the signal is the
    // caller's: the test process is not the terminal's session).
    void resize(int columns, int rows);
    // Closes the far end, as a terminal window closed.
    void hang_up();

    std::string output() const;
    // Waits, at most `limit`, until the output makes `ready` true.
    bool wait_for(const std::function<bool(const std::string&)>& ready,
                  std::chrono::milliseconds limit = std::chrono::seconds(5)) const;
    bool wait_for_text(std::string_view text,
                       std::chrono::milliseconds limit = std::chrono::seconds(5)) const;
    // A terminal of the current size fed everything written so far.
    std::unique_ptr<VtermScreen> screen() const;

  private:
    void read_loop();
    void stop_reader();

    int master_ = -1;
    int slave_ = -1;
    int columns_;
    int rows_;
    mutable std::mutex mutex_;
    std::string output_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

} // namespace terminal_test
