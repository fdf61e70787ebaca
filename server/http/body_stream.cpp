#include "server/http/body_stream.hpp"

#include <utility>

namespace board::http {

bool BodyStream::push(std::string_view bytes) {
    std::function<void()> wake;
    {
        const std::lock_guard lock(mutex_);
        if (ended_ || dropped_)
            return false;
        if (waiting_.size() + bytes.size() > most_behind_) {
            dropped_ = true;
            waiting_.clear();
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
    if (taken.bytes.empty() && !taken.ended && !taken.dropped)
        wake_ = std::move(wake);
    return taken;
}

void BodyStream::drop() {
    const std::lock_guard lock(mutex_);
    dropped_ = true;
    waiting_.clear();
    wake_ = nullptr;
}

} // namespace board::http
