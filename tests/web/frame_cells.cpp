// Prints the screens a recorded session shows, one a frame, in the form the
// Chromium cell tests read the page's terminal in, so the two can be
// compared line for line. The session is replayed on the in-memory console,
// its model sized as the page sizes its own (80x50, the game's least size
// kept), and a screen is taken wherever the page's platform flushes: at the
// start of each wait (a sleep, a tone, a key waited for). Consecutive
// screens that are the same are printed once, starting from the blank
// screen before anything is drawn.
//
// Which waits those are depends on how the page runs the session:
//   played    the session as the player played it with --record: every
//             sleep, tone and getch the game makes waits in the page
//   replayed  the session as --replay plays it: only the sleeps and tones
//             the replay passes on wait; the keys come from the file
//
// Each screen is "frame N" and then 50 lines, one a row: the 80 glyphs as
// UTF-8, a tab, 80 foreground colours, a tab, 80 background colours. A
// colour is the console's number, 0-f (blue in bit 0, red in bit 2); the
// foreground of a blank is '.', as no one can see it.
//   frame_cells played|replayed FILE [--last]   --last: only the last screen
#include "console/ansi/screen_presenter.hpp"
#include "console/browser/page_platform.hpp"
#include "console/forwarding_platform.hpp"
#include "console/glyphs.hpp"
#include "console/memory_console.hpp"
#include "console/native.hpp"
#include "game/exigencias.hpp"
#include "game/sessao.hpp"
#include "replay/recording_file.hpp"
#include "replay/replaying_platform.hpp"

#include <iostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

constexpr std::string_view HEX = "0123456789abcdef";

std::string screen_text(const console::CellScreen& model) {
    const console::ansi::Grid grid = console::ansi::window_grid(model);
    std::string out;
    for (int y = 0; y < grid.height; ++y) {
        std::string glyphs;
        std::string fg;
        std::string bg;
        for (int x = 0; x < grid.width; ++x) {
            const console::ansi::TermCell cell = grid.at(x, y);
            glyphs += console::glyph_utf8(cell.ch);
            const bool blank = console::glyph_unicode(cell.ch) == U' ';
            fg += blank ? '.' : HEX[cell.attr & 15];
            bg += HEX[(cell.attr >> 4) & 15];
        }
        out += glyphs + '\t' + fg + '\t' + bg + '\n';
    }
    return out;
}

// The screens as the page shows them, each once while it stands.
class Frames {
  public:
    explicit Frames(const console::CellScreen& model) : model_(model) { take(); }
    void take() {
        std::string screen = screen_text(model_);
        if (screens_.empty() || screens_.back() != screen)
            screens_.push_back(std::move(screen));
    }
    const std::vector<std::string>& screens() const { return screens_; }

  private:
    const console::CellScreen& model_;
    std::vector<std::string> screens_;
};

// Takes a screen where the page's platform would flush, then passes the
// call on: the page shows the frame before it waits.
class FlushPoints : public console::ForwardingPlatform {
  public:
    FlushPoints(console::Platform& inner, Frames& frames, bool keys_wait)
        : ForwardingPlatform(inner), frames_(frames), keys_wait_(keys_wait) {}
    int getch() override {
        if (keys_wait_)
            frames_.take();
        return ForwardingPlatform::getch();
    }
    void sleep(int ms) override {
        frames_.take();
        ForwardingPlatform::sleep(ms);
    }
    void beep(int hz, int ms) override {
        frames_.take();
        ForwardingPlatform::beep(hz, ms);
    }

  private:
    Frames& frames_;
    bool keys_wait_;
};

int usage() {
    std::cerr << "usage: frame_cells played|replayed FILE [--last]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4)
        return usage();
    const std::string mode = argv[1];
    const bool last_only = argc == 4 && std::string_view(argv[3]) == "--last";
    if ((mode != "played" && mode != "replayed") || (argc == 4 && !last_only))
        return usage();
    const auto loaded = replay::load_recording(argv[2]);
    if (const auto* refused = std::get_if<replay::Refusal>(&loaded)) {
        std::cerr << replay::refusal_message(argv[2], *refused) << '\n';
        return 2;
    }
    const replay::Recording& recording = std::get<replay::Recording>(loaded);

    console::CellScreen model;
    console::ansi::fit_model(model, console::browser::PAGE_TERMINAL,
                             game::exigencias_do_console().least);
    console::MemoryPlatform machine;
    Frames frames(model);
    try {
        if (mode == "played") {
            // The recording answers the keys and the clock; the page waited
            // in each getch the game made, as the player typed.
            replay::ReplayingPlatform player(machine, recording, replay::Pace{1, false, false});
            FlushPoints page(player, frames, true);
            const console::Installation installed(model, page);
            game::sessao();
        } else {
            // As app's replay_session stacks it: the page is under the replay.
            FlushPoints page(machine, frames, false);
            replay::ReplayingPlatform player(page, recording, replay::Pace{1, true, true});
            const console::Installation installed(model, player);
            game::sessao();
        }
        // A session that returns is flushed once more as the page ends it.
        frames.take();
    } catch (const console::SessionEnded&) {
        // The recording ran out, or its Esc left: the session is over, and
        // the page shows the frame of its last wait.
    }

    const std::vector<std::string>& screens = frames.screens();
    for (std::size_t i = last_only ? screens.size() - 1 : 0; i < screens.size(); ++i)
        std::cout << "frame " << i << '\n' << screens[i];
    return 0;
}
