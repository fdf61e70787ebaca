#pragma once
// The platform of a live session, under the recording: it counts the frames
// (the game asks for a key once a frame), tells the feed where the game is,
// reports the times a dealt game stood waiting on the player, and answers each game's
// seed read with the seed the board deals it.
//
// The deal is asked at the game's start, once the name is typed and the
// level key read, and its seed answers the clock from then on in that game
// (the title before it reads the machine's clock for its own draws). A
// session left at the menu is dealt nothing. A game whose deal fails reads
// the machine's clock and plays open.

#include "app/live/live_feed.hpp"
#include "app/live/live_protocol.hpp"
#include "console/forwarding_platform.hpp"
#include "game/resultado.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace live {

// A game's deal, or why it has none (English, one line).
struct GameDeal {
    std::optional<Dealt> dealt;
    std::string why;
};

class LivePlatform : public console::ForwardingPlatform, public game::Observador {
  public:
    // Past this much beyond what a call asked for, or between two calls,
    // the game was held: drawing a frame takes a few milliseconds.
    static constexpr std::int64_t HELD_MS = 250;

    LivePlatform(console::Platform& inner, Feed& feed,
                 std::function<GameDeal(const std::string& name, int level)> deal,
                 std::function<std::int64_t()> steady_ms);

    bool kbhit() override;
    int getch() override;
    void sleep(int ms) override;
    void beep(int hz, int ms) override;
    std::int64_t time() override;

    void partida_comeca() override;
    void nivel_escolhido(const std::string& nome, int nivel) override;
    void partida_termina(const game::Resultado& resultado) override;

    // Each game that asked for its deal, in order.
    const std::vector<GameDeal>& deals() const { return deals_; }

  private:
    template <typename Call> auto timed(std::int64_t asked_ms, bool for_key, Call call);

    Feed& feed_;
    std::function<GameDeal(const std::string&, int)> deal_;
    std::function<std::int64_t()> steady_ms_;
    std::int64_t frames_ = 0;
    std::optional<std::int64_t> left_ms_; // when the last call returned
    bool in_play_ = false;                // dealt, and not ended yet: holds count
    std::optional<std::uint32_t> seed_;
    std::vector<GameDeal> deals_;
};

} // namespace live
