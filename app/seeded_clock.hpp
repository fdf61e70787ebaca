#pragma once
// The clock a game seeds its draws from, answering a chosen seed in place of
// the time: N for the session's first game, N+k-1 for the k-th. The game
// takes an unsigned 32-bit seed, so past 4294967295 the seeds wrap to 0.
// The game reads the clock only to seed itself, so every draw of game k
// comes from seed N+k-1.

#include "console/forwarding_platform.hpp"
#include "game/resultado.hpp"

#include <cstdint>

namespace app {

class SeededClock : public console::ForwardingPlatform, public game::Observador {
  public:
    SeededClock(console::Platform& inner, std::uint32_t first_seed)
        : ForwardingPlatform(inner), first_seed_(first_seed) {}

    std::int64_t time() override {
        const std::uint32_t later_games = games_begun_ == 0 ? 0 : games_begun_ - 1;
        return static_cast<std::uint32_t>(first_seed_ + later_games);
    }
    void partida_comeca() override { ++games_begun_; }

  private:
    std::uint32_t first_seed_;
    std::uint32_t games_begun_ = 0;
};

} // namespace app
