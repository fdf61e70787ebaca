#include "console/browser/page_platform.hpp"

#include "console/browser/page_bridge.hpp"
#include "console/browser/page_turns.hpp"
#include "console/palette.hpp"

#include <algorithm>
#include <array>
#include <ctime>
#include <span>

namespace console::browser {
namespace {

// The longest the game lets the page go without a look at the keys.
constexpr int MOST_YIELD_MS = 10;
// Past this many decoded keys waiting, the page's queue keeps the rest.
constexpr std::size_t MOST_WAITING_KEYS = 256;

} // namespace

// The page's terminal takes 24-bit colour; the player's palette holds.
PagePlatform::PagePlatform(CellScreen& model, const NativeNeeds& needs)
    : model_(model), presenter_(ansi::TerminalTraits{},
                                ansi::Colours{palette_for(needs.palette, nullptr, 1 << 24), true}) {
    ansi::fit_model(model_, PAGE_TERMINAL, needs.least);
}

void PagePlatform::read_keys() {
    std::array<std::uint8_t, 256> bytes{};
    while (keys_.keys_waiting() < MOST_WAITING_KEYS) {
        const std::size_t got = read_typed(bytes.data(), bytes.size());
        if (got == 0)
            break;
        keys_.feed(std::span(bytes.data(), got), page_now_ms());
    }
    keys_.idle(page_now_ms());
}

std::int64_t PagePlatform::hold_while_hidden() {
    const std::int64_t from = page_now_ms();
    while (!page_visible())
        take_turn(100);
    return page_now_ms() - from;
}

void PagePlatform::wait(std::optional<std::int64_t> until_ms, bool for_key) {
    flush();
    for (;;) {
        const std::int64_t held = hold_while_hidden();
        if (until_ms)
            *until_ms += held;
        read_keys();
        if (for_key && keys_.has_key())
            return;
        const std::int64_t now = page_now_ms();
        if (until_ms && now >= *until_ms)
            return;
        std::int64_t step = until_ms ? *until_ms - now : MOST_YIELD_MS;
        if (for_key)
            step = std::min<std::int64_t>(step, MOST_YIELD_MS);
        if (const auto deadline = keys_.deadline())
            step = std::min(step, std::max<std::int64_t>(0, *deadline - now));
        take_turn(static_cast<int>(step));
    }
}

bool PagePlatform::kbhit() {
    read_keys();
    return keys_.has_key();
}

int PagePlatform::getch() {
    wait(std::nullopt, true);
    return keys_.take();
}

void PagePlatform::sleep(int ms) {
    wait(page_now_ms() + std::max(ms, 0), false);
}

void PagePlatform::beep(int hz, int ms) {
    // The screen first shows what the tone goes with.
    flush();
    const std::int64_t start = page_now_ms();
    if (ms > 0)
        sound_tone(hz, ms);
    wait(start + std::max(ms, 0), false);
}

void PagePlatform::set_cursor_info(int /*size*/, bool visible) {
    cursor_visible_ = visible;
}

std::int64_t PagePlatform::time() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

void PagePlatform::flush() {
    write_terminal(presenter_.next_frame(model_, cursor_visible_));
}

} // namespace console::browser
