#include "support/played_session.hpp"

#include "support/session_keys.hpp"

#include <deque>
#include <string_view>

namespace teste {
namespace {

// Types in play when the frame asks, and answers every screen that waits.
class SessionPlayer : public console::MemoryPlatform, public game::Observador {
  public:
    SessionPlayer(unsigned seed, std::int64_t length_ms) : length_ms_(length_ms), draw_(seed) {}
    int games = 0;
    int keys = 0;

    bool kbhit() override {
        if (keys_left() == 0) {
            const unsigned d = draw_.next();
            if (d % 5 < 3)
                push_key(now_ms() >= length_ms_ ? 27 : KeyDraw::play_key(d), now_ms());
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
        const std::string start = std::string("1Bot\r") + levels[draw_.next() % levels.size()];
        answers_.assign(start.begin(), start.end());
    }
    void partida_termina(const game::Resultado& r) override {
        ++games;
        answers_ = r.desfecho == game::Desfecho::venceu ? std::deque<int>{'1', '\r'}
                                                        : std::deque<int>{'1'};
    }

  private:
    std::int64_t length_ms_;
    KeyDraw draw_;
    std::deque<int> answers_;
};

} // namespace

RecordedSession played_session(unsigned seed, std::int64_t length_ms) {
    SessionPlayer player(seed, length_ms);
    std::string text = recorded_session(player);
    return RecordedSession{std::move(text), player.games, player.keys,
                           static_cast<double>(player.now_ms()) / 60000.0};
}

} // namespace teste
