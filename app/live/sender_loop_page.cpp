#include "app/http/page_exchange.hpp"
#include "app/live/sender_loop.hpp"
#include "console/browser/page_bridge.hpp"
#include "console/browser/page_turns.hpp"

#include <optional>

namespace live {

// A batch is sent at a turn of the game's waits and its answer read at a
// later one; the game's time goes on meanwhile. One batch is on its way at
// a time, as from the thread.
struct SenderLoop::Running {
    Running(Sender& sender, std::function<std::int64_t()> now_ms)
        : sender(sender), now_ms(std::move(now_ms)), turns([this] { turn(); }) {}

    void turn() {
        const std::int64_t now = now_ms();
        if (on_its_way) {
            auto outcome = on_its_way->outcome();
            if (!outcome)
                return;
            on_its_way.reset();
            sender.answered(*outcome, now);
        }
        if (last_sent && now - *last_sent < EVERY.count())
            return;
        last_sent = now;
        if (const auto request = sender.due())
            on_its_way.emplace(*request, Sender::LIMITS);
    }

    Sender& sender;
    std::function<std::int64_t()> now_ms;
    std::optional<http::PageExchange> on_its_way;
    std::optional<std::int64_t> last_sent;
    console::browser::AtEachTurn turns;
};

SenderLoop::SenderLoop(Sender& sender, std::function<std::int64_t()> now_ms)
    : running_(std::make_unique<Running>(sender, std::move(now_ms))) {}

SenderLoop::~SenderLoop() = default;

void SenderLoop::finish(std::chrono::milliseconds limit) {
    const std::int64_t until = running_->now_ms() + limit.count();
    while (!running_->sender.stopped() && running_->now_ms() < until)
        console::browser::take_turn(20);
}

} // namespace live
