#include "server/work_pool.hpp"

namespace board {

WorkPool::WorkPool(int workers, std::size_t waiting) : waiting_(waiting) {
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { work(); });
}

WorkPool::~WorkPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

bool WorkPool::try_submit(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        // A job waits only when no worker is free to take it at once.
        const std::size_t would_wait = jobs_.size() + 1 > idle_ ? jobs_.size() + 1 - idle_ : 0;
        if (stopping_ || would_wait > waiting_)
            return false;
        jobs_.push_back(std::move(job));
    }
    ready_.notify_one();
    return true;
}

void WorkPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty())
            return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

} // namespace board
