#pragma once
// A cell screen presented on a real terminal. The game draws into
// the model; at each wait point (a sleep, a tone, a key wait, the exit) the
// cells that changed go to the terminal in one write. The waits are polls on
// the keyboard and the signals, so both are noticed at once.

#include "console/cell_screen.hpp"
#include "console/platform.hpp"
#include "console/posix/frame_renderer.hpp"
#include "console/posix/key_decoder.hpp"
#include "console/posix/signal_watch.hpp"
#include "console/posix/speaker.hpp"
#include "console/posix/terminal_modes.hpp"
#include "console/posix/tone_pcm.hpp"

#include <cstdint>
#include <optional>

namespace console::posix {

// The model for a terminal: its window the terminal's size, but never
// smaller than the session's screens (`least`, so a clear always covers
// them) nor wider or taller than the layer's 8-bit window record holds; the
// buffer one row taller, so writing the window's last cell never scrolls it.
struct ModelSize {
    int width = 0;
    int height = 0;
    int buffer_height = 0;
};
ModelSize model_size_for(TerminalSize terminal, TerminalSize least);

// The model's visible window as the terminal should show it.
Grid window_grid(const CellScreen& model);

class TerminalPlatform : public Platform {
  public:
    TerminalPlatform(RawTerminal& terminal, SignalWatch& signals, CellScreen& model,
                     NativeNeeds needs, bool sound);

    bool kbhit() override;
    int getch() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    void set_cursor_info(int size, bool visible) override;
    // A request that the terminal grow to the least size, sent at the next
    // wait point; none when it is that large already.
    void request_full_screen() override;
    std::int64_t time() override;

    // Writes what changed since the last frame; throws SessionEnded when the
    // terminal is gone.
    void flush();

  private:
    void wait_point(std::optional<std::int64_t> until_ms, bool for_key);
    // Acts on the signals that came; true when the terminal was left and
    // entered again (a suspension) and shows nothing of the game.
    bool handle_signals();
    void update_size();
    // Shows the size notice until the terminal is large enough; the time it
    // took, so an interrupted wait can go on as if it had not been.
    std::int64_t wait_for_room();
    void send_growth_request();
    // One poll of the keyboard and the signals, up to timeout_ms.
    void pump_input(int timeout_ms);
    void drain_input();
    bool read_input();

    RawTerminal& terminal_;
    SignalWatch& signals_;
    CellScreen& model_;
    NativeNeeds needs_;
    Speaker speaker_;
    ToneFormat tone_format_;
    KeyDecoder keys_;
    TerminalPicture shown_;
    // What shown_ was last brought up to: the model's version and cursor.
    struct Presented {
        std::uint64_t version;
        std::optional<Point> cursor;
        friend bool operator==(const Presented&, const Presented&) = default;
    };
    std::optional<Presented> presented_;
    TerminalSize size_;
    bool cursor_visible_ = true;
    bool growth_requested_ = false;
    bool clear_pending_ = false;
};

} // namespace console::posix
