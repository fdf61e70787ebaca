#pragma once
// The terminal's input side: the keys typed, decoded into console key codes,
// and the signals that came. Either can end the session (SessionEnded): a
// signal to end it, or a terminal gone.

#include "console/posix/key_decoder.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/terminal_modes.hpp"

#include <cstdint>
#include <optional>

namespace console::posix {

class TerminalInput {
  public:
    TerminalInput(RawTerminal& terminal, SignalWatch& signals);

    // Acts on the signals that came; true when the terminal was left and
    // entered again (a suspension), so it shows nothing of the session.
    bool take_signals();

    // One poll of the keyboard and the signals, up to timeout_ms.
    void pump(int timeout_ms);
    // What the keyboard holds now, without waiting.
    void drain();

    bool has_key() const { return keys_.has_key(); }
    int take_key() { return keys_.take(); }
    void discard_keys() { keys_.discard_keys(); }
    // When a partly typed key must be settled, if one is.
    std::optional<std::int64_t> key_deadline() const { return keys_.deadline(); }

  private:
    bool read();

    RawTerminal& terminal_;
    SignalWatch& signals_;
    KeyDecoder keys_;
};

} // namespace console::posix
