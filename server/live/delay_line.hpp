#pragma once
// What a session's watchers see, held back a fixed time, so that nobody
// watching a game can help its player: each piece of output, each whole
// screen and each change of points is stamped with the board's clock as the
// replay makes it and released once it is that old.
//
// A watcher who joins late is sent the screen as it stood that long ago:
// the last whole screen released, then the output released since it. So
// whole screens are taken now and then (ask_screen says when) and the line
// keeps, of what it released, only what follows the last of them.
//
// The line holds at most `most_bytes` (one piece past it at most): a
// session whose replay makes more output within the delay loses its
// oldest, and its watchers skip to the next whole screen.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace live {

class DelayLine {
  public:
    DelayLine(std::int64_t delay_ms, std::size_t most_bytes);

    // The events as the watchers' stream carries them, made at `now_ms`.
    void output(std::int64_t now_ms, std::string event);
    void screen(std::int64_t now_ms, std::string event);
    void points(std::int64_t now_ms, std::int64_t points);
    // Whether to ask the replay for a whole screen now; true once an
    // interval (a tenth of the delay, a second at least).
    bool ask_screen(std::int64_t now_ms);

    struct Released {
        std::string events;                 // for those watching, in order
        std::optional<std::int64_t> points; // the last change released
    };
    // What is old enough by `now_ms`, once.
    Released release(std::int64_t now_ms);
    // What a watcher joining now is sent first: the screen as it stood a
    // delay ago, as events; none while no whole screen is that old.
    std::optional<std::string> joined() const;
    // Nothing made waits to be released.
    bool drained() const { return released_ == entries_.size(); }
    std::size_t bytes() const { return bytes_; }

  private:
    enum class Kind { output, screen, points };
    struct Entry {
        std::int64_t at_ms = 0;
        Kind kind = Kind::output;
        std::string event;
        std::int64_t points = 0;
    };
    void add(Entry entry);
    // Drops what was released before the last whole screen released.
    void forget_released();

    std::int64_t delay_ms_;
    std::size_t most_bytes_;
    std::int64_t screen_every_ms_;
    std::optional<std::int64_t> screen_asked_ms_;
    std::deque<Entry> entries_;
    std::size_t released_ = 0; // entries at the front already released
    std::size_t bytes_ = 0;
    // Output was lost before it was released: the watchers are sent the
    // next whole screen, and nothing before it.
    bool skipping_ = false;
};

} // namespace live
