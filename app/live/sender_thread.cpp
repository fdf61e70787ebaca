#include "app/live/sender_thread.hpp"

namespace live {

SenderThread::SenderThread(Sender& sender, std::function<std::int64_t()> now_ms)
    : sender_(sender), now_ms_(std::move(now_ms)),
      thread_([this](const std::stop_token& stop) { run(stop); }) {}

SenderThread::~SenderThread() {
    thread_.request_stop();
}

void SenderThread::run(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        lock.unlock();
        sender_.step(now_ms_());
        lock.lock();
        tick_.wait_for(lock, stop, EVERY, [] { return false; });
    }
}

void SenderThread::finish(std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!sender_.stopped() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds{20});
    thread_.request_stop();
    if (thread_.joinable())
        thread_.join();
}

} // namespace live
