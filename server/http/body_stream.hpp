#pragma once
// The body of a long answer, made while it is sent: a watcher's live
// stream. Pieces are pushed from any thread and the edge writes them as the
// client takes them; a client that falls more than its allowance behind is
// dropped, not held in memory, and may come back for a fresh start.

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace board::http {

class BodyStream {
  public:
    explicit BodyStream(std::size_t most_behind) : most_behind_(most_behind) {}

    // The producer's side. False once the stream is over for its client (it
    // left, fell behind, or the stream ended): the producer may forget it.
    bool push(std::string_view bytes);
    void end(); // after the last piece
    bool open() const;

    // The edge's side: what waits, taken; when nothing does, `wake` is kept
    // and called (from the pushing thread) once something comes. What is
    // taken counts as behind until the edge takes again, which it does
    // only once it has written it.
    struct Taken {
        std::string bytes;
        bool ended = false;   // and nothing more will come
        bool dropped = false; // too far behind: the answer is cut off
    };
    Taken take_or_wait(std::function<void()> wake);
    // The client is gone.
    void drop();

  private:
    mutable std::mutex mutex_;
    std::size_t most_behind_;
    std::string waiting_;
    std::size_t in_flight_ = 0; // taken last, perhaps not yet written
    bool ended_ = false;
    bool dropped_ = false;
    std::function<void()> wake_;
};

} // namespace board::http
