#pragma once
// The terminal's input side: the keys typed, decoded into console key codes,
// and the signals that came. Either can end the session (SessionEnded): a
// signal to end it, or a terminal gone.

#include "console/ansi/key_decoder.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/terminal_modes.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace console::posix {

class TerminalInput {
  public:
    // Past this many decoded keys waiting, the terminal is not read until
    // the game takes some: the kernel keeps the rest, so a long paste holds
    // neither more memory nor a key less.
    static constexpr std::size_t max_waiting_keys = 256;

    // `typed_high_bytes`: the key decoder's charset (empty: UTF-8).
    TerminalInput(RawTerminal& terminal, SignalWatch& signals,
                  std::vector<char32_t> typed_high_bytes = {});

    // Acts on the signals that came; true when the terminal was left and
    // entered again (a suspension), so it shows nothing of the session.
    // `woke`: the last pump was woken by a signal.
    bool take_signals(bool woke = false);

    // One poll of the keyboard and the signals, up to timeout_ms; true when
    // a signal woke it. With the keys full only the signals are watched: a
    // terminal holding unread input is always ready.
    bool pump(int timeout_ms);
    // What the keyboard holds now, as far as there is room, without waiting.
    void drain();

    bool has_key() const { return keys_.has_key(); }
    std::size_t keys_waiting() const { return keys_.keys_waiting(); }
    int take_key() { return keys_.take(); }
    void discard_keys() { keys_.discard_keys(); }
    // When a partly typed key must be settled, if one is. None while the
    // keys are full: its next bytes may still be unread in the kernel.
    std::optional<std::int64_t> key_deadline() const;

  private:
    bool full() const { return keys_.keys_waiting() >= max_waiting_keys; }
    bool read();

    RawTerminal& terminal_;
    SignalWatch& signals_;
    ansi::KeyDecoder keys_;
};

} // namespace console::posix
