#include "support/played_session.hpp"

#include "support/session_keys.hpp"

#include <deque>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace teste {
namespace {

// Types in play when the frame asks, and answers every screen that waits.
class SessionPlayer : public console::MemoryPlatform, public game::Observador {
  public:
    SessionPlayer(unsigned seed, std::int64_t length_ms) : length_ms_(length_ms), draw_(seed) {}
    int games = 0;
    int keys = 0;
    std::int64_t frames = 0;
    std::function<void()> on_frame;

    bool kbhit() override {
        ++frames;
        if (on_frame)
            on_frame();
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

// Each recording line written, and each quarter of a second, stamped with
// the player's clock and frames.
class TimedLines : public std::streambuf {
  public:
    explicit TimedLines(const SessionPlayer& player) : player_(player) {}
    std::string text;
    void tick() {
        if (player_.now_ms() >= next_tick_ms_) {
            next_tick_ms_ = player_.now_ms() + 250;
            text += stamp() + "\n";
        }
    }

  protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        line_ += traits_type::to_char_type(c);
        if (line_.back() == '\n') {
            text += stamp() + " " + line_;
            line_.clear();
        }
        return c;
    }

  private:
    std::string stamp() const {
        return std::to_string(player_.now_ms()) + " " + std::to_string(player_.frames);
    }
    const SessionPlayer& player_;
    std::string line_;
    std::int64_t next_tick_ms_ = 0;
};

} // namespace

std::string timed_session(unsigned seed, std::int64_t length_ms) {
    SessionPlayer player(seed, length_ms);
    TimedLines lines(player);
    player.on_frame = [&lines] { lines.tick(); };
    std::ostream out(&lines);
    record_session(player, out);
    return lines.text;
}

RecordedSession played_session(unsigned seed, std::int64_t length_ms) {
    SessionPlayer player(seed, length_ms);
    std::string text = recorded_session(player);
    return RecordedSession{std::move(text), player.games, player.keys,
                           static_cast<double>(player.now_ms()) / 60000.0};
}

} // namespace teste
