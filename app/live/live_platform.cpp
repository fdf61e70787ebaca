#include "app/live/live_platform.hpp"

#include <algorithm>
#include <utility>

namespace live {

LivePlatform::LivePlatform(console::Platform& inner, Feed& feed,
                           std::function<GameDeal(const std::string&, int)> deal,
                           std::function<std::int64_t()> steady_ms)
    : ForwardingPlatform(inner), feed_(feed), deal_(std::move(deal)),
      steady_ms_(std::move(steady_ms)) {}

template <typename Call> auto LivePlatform::timed(std::int64_t asked_ms, bool for_key, Call call) {
    const std::int64_t entered = steady_ms_();
    std::int64_t over = left_ms_ ? entered - *left_ms_ : 0;
    struct Leave {
        LivePlatform& self;
        std::int64_t entered, asked, over;
        bool for_key;
        ~Leave() {
            self.left_ms_ = self.steady_ms_();
            const std::int64_t inside = *self.left_ms_ - entered - std::max<std::int64_t>(0, asked);
            const std::int64_t held =
                std::max<std::int64_t>(0, over) + std::max<std::int64_t>(0, inside);
            if (self.in_play_ && held >= HELD_MS)
                self.feed_.hold(Hold{self.frames_, held, for_key});
        }
    } leave{*this, entered, asked_ms, over, for_key};
    return call();
}

bool LivePlatform::kbhit() {
    ++frames_;
    feed_.reach(frames_);
    return timed(0, false, [&] { return ForwardingPlatform::kbhit(); });
}

int LivePlatform::getch() {
    return timed(0, true, [&] { return ForwardingPlatform::getch(); });
}

void LivePlatform::sleep(int ms) {
    timed(ms, false, [&] { ForwardingPlatform::sleep(ms); });
}

void LivePlatform::beep(int hz, int ms) {
    timed(ms, false, [&] { ForwardingPlatform::beep(hz, ms); });
}

std::int64_t LivePlatform::time() {
    if (seed_)
        return *seed_;
    return ForwardingPlatform::time();
}

void LivePlatform::nivel_escolhido(const std::string& nome, int nivel) {
    // The board times the game from its deal, so the wait for it is
    // nobody's hold.
    GameDeal deal = deal_(nome, nivel);
    left_ms_ = steady_ms_();
    if (deal.dealt)
        seed_ = deal.dealt->seed;
    in_play_ = deal.dealt.has_value();
    deals_.push_back(std::move(deal));
}

void LivePlatform::partida_comeca() {
    in_play_ = false;
    seed_.reset();
}

void LivePlatform::partida_termina(const game::Resultado& /*resultado*/) {
    in_play_ = false;
}

} // namespace live
