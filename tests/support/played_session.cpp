#include "support/played_session.hpp"

#include "console/memory_console.hpp"
#include "game/sessao.hpp"
#include "replay/recording_platform.hpp"
#include "support/both_observers.hpp"

#include <deque>
#include <limits>
#include <sstream>
#include <string_view>

namespace teste {
namespace {

// Types in play when the frame asks, and answers every screen that waits.
class SessionPlayer : public console::MemoryPlatform, public game::Observador {
  public:
    SessionPlayer(unsigned seed, std::int64_t length_ms) : length_ms_(length_ms), state_(seed) {}
    int games = 0;
    int keys = 0;

    bool kbhit() override {
        if (keys_left() == 0) {
            const unsigned d = draw();
            if (d % 5 < 3)
                push_key(now_ms() >= length_ms_ ? 27 : play_key(d), now_ms());
        }
        return MemoryPlatform::kbhit();
    }
    int getch() override {
        if (keys_left() == 0) {
            push_key(answers_.empty() ? 'x' : answers_.front(), now_ms());
            if (!answers_.empty())
                answers_.pop_front();
        }
        ++keys;
        return MemoryPlatform::getch();
    }
    void partida_comeca() override {
        constexpr std::string_view levels = "1234";
        const std::string start = std::string("1Bot\r") + levels[draw() % levels.size()];
        answers_.assign(start.begin(), start.end());
    }
    void partida_termina(const game::Resultado& r) override {
        ++games;
        answers_ = r.desfecho == game::Desfecho::venceu ? std::deque<int>{'1', '\r'}
                                                        : std::deque<int>{'1'};
    }

  private:
    unsigned draw() {
        state_ = state_ * 1103515245u + 12345u;
        return state_ >> 8;
    }
    static int play_key(unsigned d) {
        constexpr std::string_view keys = "     aadd ww s bB";
        return keys[(d >> 8) % keys.size()];
    }
    std::int64_t length_ms_;
    unsigned state_;
    std::deque<int> answers_;
};

} // namespace

RecordedSession played_session(unsigned seed, std::int64_t length_ms) {
    console::MemoryScreen screen;
    SessionPlayer player(seed, length_ms);
    player.set_time_limit_ms(std::numeric_limits<std::int64_t>::max() / 2);
    std::ostringstream out;
    replay::RecordingPlatform recorder(player, out);
    teste::BothObservers both(recorder, player);
    {
        const console::Installation installed(screen, recorder);
        game::sessao(both);
    }
    return RecordedSession{out.str(), player.games, player.keys,
                           static_cast<double>(player.now_ms()) / 60000.0};
}

} // namespace teste
