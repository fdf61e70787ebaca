#pragma once
// What the other servers on one PostgreSQL database change of the live
// sessions, heard as it is committed: a thread of its own LISTENs on a libpq
// connection of its own, waits on its socket, and passes each notice on
// LIVE_CHANNEL to `noticed`. A connection that drops is opened again, and
// `listening` is told each time it listens, first time included: notices
// given while it did not listen are lost, and the store must be asked.

#include "server/live/live_board.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace board {

// A notice's payload ("ID:SEQ", "ID:deal" or "ID:end"), or none when it is
// not one.
std::optional<live::LiveBoard::Change> change_of(std::string_view payload);

class LiveListener {
  public:
    LiveListener(std::string url, std::function<void(const std::string& payload)> noticed,
                 std::function<void()> listening);
    ~LiveListener(); // stops listening and waits for the thread
    LiveListener(const LiveListener&) = delete;
    LiveListener& operator=(const LiveListener&) = delete;

  private:
    void run(const std::stop_token& stop);

    std::string url_;
    std::function<void(const std::string&)> noticed_;
    std::function<void()> listening_;
    std::jthread thread_; // last: it starts once the rest stands
};

} // namespace board
