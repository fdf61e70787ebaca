#pragma once
// The thread a live session's batches leave from, about four times a
// second, so that the game's thread never waits on the network.

#include "app/live/live_sender.hpp"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace live {

class SenderThread {
  public:
    static constexpr std::chrono::milliseconds EVERY{250};

    SenderThread(Sender& sender, std::function<std::int64_t()> now_ms);
    ~SenderThread();
    SenderThread(const SenderThread&) = delete;
    SenderThread& operator=(const SenderThread&) = delete;

    // Keeps sending for up to `limit` while the stream has not stopped by
    // itself (its last batch acknowledged, or given up), then stops.
    void finish(std::chrono::milliseconds limit);

  private:
    void run(const std::stop_token& stop);

    Sender& sender_;
    std::function<std::int64_t()> now_ms_;
    std::mutex mutex_;
    std::condition_variable_any tick_;
    std::jthread thread_;
};

} // namespace live
