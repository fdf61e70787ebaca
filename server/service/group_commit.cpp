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

LiveKept GroupCommit::commit(SessionBatch batch) {
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
    return outcome.kept;
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
        const std::vector<SessionBatch> group = std::exchange(pending_, {});
        const std::vector<Outcome*> waiters = std::exchange(waiting_, {});
        lock.unlock();
        std::exception_ptr error;
        std::vector<LiveKept> kept;
        try {
            kept = write_(group);
            if (kept.size() != group.size())
                throw StoreError("the store answered for another number of batches");
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        ++counts_.commits;
        counts_.batches += static_cast<std::int64_t>(group.size());
        if (error)
            ++counts_.failed;
        for (std::size_t i = 0; i < waiters.size(); ++i) {
            waiters[i]->done = true;
            waiters[i]->error = error;
            if (!error)
                waiters[i]->kept = kept[i];
        }
        written_.notify_all();
    }
}

} // namespace board
