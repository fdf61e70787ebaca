#include "app/live/sender_loop.hpp"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace live {

struct SenderLoop::Running {
    Running(Sender& sender, std::function<std::int64_t()> now_ms)
        : sender(sender), now_ms(std::move(now_ms)),
          thread([this](const std::stop_token& stop) { run(stop); }) {}

    void run(const std::stop_token& stop) {
        std::unique_lock lock(mutex);
        while (!stop.stop_requested()) {
            lock.unlock();
            sender.step(now_ms());
            lock.lock();
            tick.wait_for(lock, stop, EVERY, [] { return false; });
        }
    }

    Sender& sender;
    std::function<std::int64_t()> now_ms;
    std::mutex mutex;
    std::condition_variable_any tick;
    std::jthread thread; // last: it starts once the rest is made
};

SenderLoop::SenderLoop(Sender& sender, std::function<std::int64_t()> now_ms)
    : running_(std::make_unique<Running>(sender, std::move(now_ms))) {}

SenderLoop::~SenderLoop() {
    running_->thread.request_stop();
}

void SenderLoop::finish(std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!running_->sender.stopped() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds{20});
    running_->thread.request_stop();
    if (running_->thread.joinable())
        running_->thread.join();
}

} // namespace live
