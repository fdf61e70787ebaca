#include "server/http/body_stream.hpp"

#include <utility>

namespace board::http {

bool BodyStream::push(std::string_view bytes) {
    std::function<void()> wake;
    {
        const std::lock_guard lock(mutex_);
        if (ended_ || dropped_)
            return false;
        // What the client has not taken: what waits here, and what the edge
        // took last and may still be writing (its socket's send buffer is
        // kept small, so little more sits in the kernel).
        if (waiting_.size() + in_flight_ + bytes.size() > most_behind_) {
            dropped_ = true;
            waiting_.clear();
            in_flight_ = 0;
        } else {
            waiting_ += bytes;
        }
        wake = std::exchange(wake_, nullptr);
    }
    if (wake)
        wake();
    return open();
}

void BodyStream::end() {
    std::function<void()> wake;
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        wake = std::exchange(wake_, nullptr);
    }
    if (wake)
        wake();
}

bool BodyStream::open() const {
    const std::lock_guard lock(mutex_);
    return !ended_ && !dropped_;
}

BodyStream::Taken BodyStream::take_or_wait(std::function<void()> wake) {
    const std::lock_guard lock(mutex_);
    Taken taken{std::exchange(waiting_, {}), ended_, dropped_};
    // The edge takes again only once its last write is done.
    in_flight_ = taken.bytes.size();
    if (taken.bytes.empty() && !taken.ended && !taken.dropped)
        wake_ = std::move(wake);
    return taken;
}

void BodyStream::drop() {
    const std::lock_guard lock(mutex_);
    dropped_ = true;
    waiting_.clear();
    in_flight_ = 0;
    wake_ = nullptr;
}

} // namespace board::http
