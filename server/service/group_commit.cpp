#include "server/service/group_commit.hpp"

#include <utility>

namespace board {

GroupCommit::GroupCommit(Write write) : write_(std::move(write)), committer_([this] { run(); }) {}

GroupCommit::~GroupCommit() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    handed_in_.notify_one();
    committer_.join();
    // A waiter woken last may still be on its way out of commit().
    std::unique_lock lock(mutex_);
    written_.wait(lock, [&] { return inside_ == 0; });
}

void GroupCommit::commit(LiveBatch batch) {
    Outcome outcome;
    std::unique_lock lock(mutex_);
    if (stopping_)
        throw StoreError("the board is stopping");
    pending_.push_back(std::move(batch));
    waiting_.push_back(&outcome);
    ++inside_;
    handed_in_.notify_one();
    written_.wait(lock, [&] { return outcome.done; });
    if (--inside_ == 0 && stopping_)
        written_.notify_all();
    if (outcome.error)
        std::rethrow_exception(outcome.error);
}

CommitCounts GroupCommit::counts() const {
    const std::lock_guard lock(mutex_);
    CommitCounts now = counts_;
    now.waiting = static_cast<std::int64_t>(pending_.size());
    return now;
}

void GroupCommit::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        handed_in_.wait(lock, [&] { return stopping_ || !pending_.empty(); });
        if (pending_.empty())
            return; // stopping, and every waiter answered
        const std::vector<LiveBatch> group = std::exchange(pending_, {});
        const std::vector<Outcome*> waiters = std::exchange(waiting_, {});
        lock.unlock();
        std::exception_ptr error;
        try {
            write_(group);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        ++counts_.commits;
        counts_.batches += static_cast<std::int64_t>(group.size());
        if (error)
            ++counts_.failed;
        for (Outcome* waiter : waiters) {
            waiter->done = true;
            waiter->error = error;
        }
        written_.notify_all();
    }
}

} // namespace board
