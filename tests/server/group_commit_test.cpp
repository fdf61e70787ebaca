// Live batches committed many to a transaction: a lone batch at once, those
// handed in while a transaction is written all in the next one, a failed
// transaction failing every batch it held, and only those, and none lost
// as the server stops.
#include "server/service/group_commit.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace board {
namespace {

using Groups = std::vector<std::vector<std::int64_t>>; // the sessions of each write

// Each batch kept, its count its session's id: so each caller can tell it
// was told its own batch's outcome.
std::vector<LiveKept> kept_as_sessions(const std::vector<SessionBatch>& group) {
    std::vector<LiveKept> kept;
    for (const SessionBatch& b : group)
        kept.push_back(LiveKept{true, false, b.session});
    return kept;
}

TEST(GroupCommit, ALoneBatchIsCommittedAtOnceAndAGroupGrowsWhileOneIsWritten) {
    Groups written;
    std::atomic<std::size_t> writes{0};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    GroupCommit commits([&](const std::vector<SessionBatch>& group) {
        std::vector<std::int64_t> sessions;
        for (const SessionBatch& b : group)
            sessions.push_back(b.session);
        written.push_back(sessions);
        if (++writes == 2)
            released.wait(); // the second transaction takes its time
        return kept_as_sessions(group);
    });

    commits.commit(SessionBatch{1, LiveBatch{1, 0, "a\n", 0, "[]"}});
    EXPECT_EQ(written, (Groups{{1}}));

    // While the second is written, five more sessions hand theirs in.
    std::thread slow([&] { commits.commit(SessionBatch{2, LiveBatch{1, 0, "b\n", 0, "[]"}}); });
    while (writes < 2)
        std::this_thread::yield();
    std::vector<std::thread> others;
    for (std::int64_t session = 3; session <= 7; ++session)
        others.emplace_back([&commits, session] {
            EXPECT_EQ(commits.commit(SessionBatch{session, LiveBatch{1, 0, "", 0, "[]"}}).batches,
                      session);
        });
    while (commits.counts().waiting < 5)
        std::this_thread::yield();
    release.set_value();
    slow.join();
    for (std::thread& t : others)
        t.join();

    ASSERT_EQ(written.size(), 3u);
    std::sort(written[2].begin(), written[2].end());
    EXPECT_EQ(written[2], (std::vector<std::int64_t>{3, 4, 5, 6, 7}));
    const CommitCounts counts = commits.counts();
    EXPECT_EQ(counts.commits, 3);
    EXPECT_EQ(counts.batches, 7);
    EXPECT_EQ(counts.failed, 0);
    EXPECT_EQ(counts.waiting, 0);
}

TEST(GroupCommit, AFailedTransactionFailsEachOfItsBatchesAndNoOther) {
    std::atomic<int> writes{0};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    GroupCommit commits([&](const std::vector<SessionBatch>& group) {
        const int write = ++writes;
        if (write == 1)
            released.wait();
        if (write == 2)
            throw StoreError("the disk is full (" + std::to_string(group.size()) + ")");
        return kept_as_sessions(group);
    });
    std::thread first([&] { commits.commit(SessionBatch{1, LiveBatch{1, 0, "", 0, "[]"}}); });
    while (writes < 1)
        std::this_thread::yield();
    std::vector<std::future<std::string>> failed;
    for (std::int64_t session = 2; session <= 4; ++session)
        failed.push_back(std::async(std::launch::async, [&commits, session]() -> std::string {
            try {
                commits.commit(SessionBatch{session, LiveBatch{1, 0, "", 0, "[]"}});
                return "committed";
            } catch (const StoreError& e) {
                return e.what();
            }
        }));
    while (commits.counts().waiting < 3)
        std::this_thread::yield();
    release.set_value();
    first.join();
    for (auto& f : failed)
        EXPECT_EQ(f.get(), "the disk is full (3)");
    commits.commit(
        SessionBatch{5, LiveBatch{1, 0, "", 0, "[]"}}); // the next transaction stands on its own
    EXPECT_EQ(commits.counts().failed, 1);
    EXPECT_EQ(commits.counts().commits, 3);
}

TEST(GroupCommit, StoppingCommitsWhatWasHandedInBeforeTheCommitterEnds) {
    std::atomic<int> writes{0};
    std::atomic<int> kept{0};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto commits = std::make_unique<GroupCommit>([&](const std::vector<SessionBatch>& group) {
        if (++writes == 1)
            released.wait();
        kept += static_cast<int>(group.size());
        return kept_as_sessions(group);
    });
    std::thread first([&] { commits->commit(SessionBatch{1, LiveBatch{1, 0, "", 0, "[]"}}); });
    while (writes < 1)
        std::this_thread::yield();
    std::thread second([&] { commits->commit(SessionBatch{2, LiveBatch{1, 0, "", 0, "[]"}}); });
    while (commits->counts().waiting < 1)
        std::this_thread::yield();
    // The server stops while one transaction is written and a batch waits.
    std::thread stopping([&] { commits.reset(); });
    release.set_value();
    first.join();
    second.join();
    stopping.join();
    EXPECT_EQ(kept, 2);
}

} // namespace
} // namespace board
