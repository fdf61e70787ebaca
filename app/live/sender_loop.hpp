#pragma once
// Where a live session's batches leave from, about four times a second, so
// that the game never waits on the network: a thread of their own in a
// terminal (sender_loop_thread.cpp), the game's waits in a page, which has
// one thread (sender_loop_page.cpp).

#include "app/live/live_sender.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace live {

class SenderLoop {
  public:
    static constexpr std::chrono::milliseconds EVERY{250};

    SenderLoop(Sender& sender, std::function<std::int64_t()> now_ms);
    ~SenderLoop();
    SenderLoop(const SenderLoop&) = delete;
    SenderLoop& operator=(const SenderLoop&) = delete;

    // Keeps sending for up to `limit` while the stream has not stopped by
    // itself (its last batch acknowledged, or given up), then stops.
    void finish(std::chrono::milliseconds limit);

  private:
    struct Running;
    std::unique_ptr<Running> running_;
};

} // namespace live
