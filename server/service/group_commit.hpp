#pragma once
// Live batches committed many to a transaction. Each batch must be on disk
// before it is acknowledged, and a commit costs about the same for one
// batch as for a hundred (on SQLite a sync of the file, on PostgreSQL a
// flush of its log): so the thread that received a batch hands it in and
// waits, while one committer thread writes everything handed in since its
// last transaction in its next one, and wakes each waiter with the outcome.
//
// The committer waits for nothing more once it has something: alone, a
// batch is committed at once; under load, what arrives while one
// transaction is being written makes the next, so a group grows with the
// load and the time a commit takes, and no timer adds to any batch's wait.

#include "server/store.hpp"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace board {

struct CommitCounts {
    std::int64_t commits = 0; // transactions written, failed or not
    std::int64_t batches = 0; // batches they held
    std::int64_t failed = 0;  // transactions that failed
    std::int64_t waiting = 0; // batches handed in, their transaction not begun
};

class GroupCommit {
  public:
    // Writes a group in one transaction, with how each batch went in the
    // same order, or throws (StoreError) having written none of it.
    using Write = std::function<std::vector<LiveKept>(const std::vector<SessionBatch>&)>;

    explicit GroupCommit(Write write);
    // Commits what was handed in already, then stops.
    ~GroupCommit();
    GroupCommit(const GroupCommit&) = delete;
    GroupCommit& operator=(const GroupCommit&) = delete;

    // Returns how the batch went once the transaction that held it is
    // committed; throws what it failed with (so every batch of a failed
    // group fails), or StoreError once the committer is stopping.
    LiveKept commit(SessionBatch batch);

    CommitCounts counts() const;

  private:
    struct Outcome {
        bool done = false;
        LiveKept kept;
        std::exception_ptr error;
    };
    void run();

    Write write_;
    mutable std::mutex mutex_;
    std::condition_variable handed_in_;
    std::condition_variable written_;
    std::vector<SessionBatch> pending_;
    std::vector<Outcome*> waiting_; // one a pending batch, in the same order
    bool stopping_ = false;
    std::size_t inside_ = 0; // callers of commit() not yet returned
    CommitCounts counts_;
    // Last: it starts once all it reads stands.
    std::thread committer_;
};

} // namespace board
