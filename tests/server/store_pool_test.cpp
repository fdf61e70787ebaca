// The pool lends a store again after any answer or failure but a lost
// connection: that store is closed, and the next borrower gets a new one.
#include "server/sql/connection.hpp"
#include "server/store_pool.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace board {
namespace {

// A store that fails every count with `failure`, or answers it when none.
class FailingStore final : public Store {
  public:
    explicit FailingStore(std::optional<sql::Failure> failure) : failure_(failure) {}
    std::int64_t count(const BoardQuery&) override {
        if (failure_)
            throw sql::Error(*failure_, "failed");
        return 7;
    }
    Inserted insert_run(const NewRun&) override { return {}; }
    std::vector<Placed> board(const BoardQuery&) override { return {}; }
    std::vector<Placed> board_after(const BoardQuery&, const BoardCursor&) override { return {}; }
    std::optional<StoredRun> run(std::int64_t) override { return {}; }
    std::vector<std::int64_t> places(std::int64_t, const BoardQuery&) override { return {}; }
    std::vector<GamePlaces> run_places(std::int64_t) override { return {}; }
    std::optional<std::string> recording(std::int64_t) override { return {}; }
    Ticket issue_ticket(std::uint32_t, std::int64_t) override { return {}; }
    std::optional<Ticket> ticket(const std::string&) override { return {}; }
    std::int64_t purge_tickets(std::int64_t) override { return 0; }

  private:
    std::optional<sql::Failure> failure_;
};

TEST(StorePool, DropsOnlyAStoreWhoseConnectionWasLost) {
    struct Case {
        std::optional<sql::Failure> failure;
        int opened; // after the failing lease and one more
    };
    for (const Case c :
         {Case{std::nullopt, 1}, Case{sql::Failure::other, 1},
          Case{sql::Failure::unique_violation, 1}, Case{sql::Failure::connection_lost, 2}}) {
        int opened = 0;
        StorePool pool([&] {
            ++opened;
            return std::make_unique<FailingStore>(c.failure);
        });
        const Store* first = nullptr;
        {
            auto lease = pool.take();
            first = &*lease;
            try {
                EXPECT_EQ(7, lease->count({}));
            } catch (const StoreError&) {
                EXPECT_TRUE(c.failure.has_value());
            }
        }
        auto next = pool.take();
        EXPECT_EQ(c.opened, opened);
        EXPECT_EQ(c.opened == 1, first == &*next);
    }
}

TEST(StorePool, ALeaseDroppedByItsHolderIsNotLentAgain) {
    int opened = 0;
    StorePool pool([&] {
        ++opened;
        return std::make_unique<FailingStore>(std::nullopt);
    });
    pool.take().drop();
    pool.take();
    EXPECT_EQ(2, opened);
}

// Borrowers past the cap wait for a store given back: however many threads
// ask at once, no more are lent or opened than the cap, and every one gets
// its turn.
TEST(StorePool, LendsNoMoreThanItsCapAtOnce) {
    for (const int cap : {1, 2, 3}) {
        std::atomic<int> opened = 0;
        std::atomic<int> lent = 0;
        std::atomic<int> most_lent = 0;
        std::atomic<int> served = 0;
        StorePool pool(
            [&] {
                ++opened;
                return std::make_unique<FailingStore>(std::nullopt);
            },
            cap);
        std::vector<std::thread> borrowers;
        for (int t = 0; t < 8; ++t)
            borrowers.emplace_back([&] {
                for (int i = 0; i < 200; ++i) {
                    auto lease = pool.take();
                    const int now = ++lent;
                    for (int seen = most_lent;
                         now > seen && !most_lent.compare_exchange_weak(seen, now);)
                        ;
                    lease->count({});
                    std::this_thread::yield();
                    --lent;
                    ++served;
                }
            });
        for (std::thread& t : borrowers)
            t.join();
        EXPECT_EQ(8 * 200, served) << "cap " << cap;
        EXPECT_LE(most_lent, cap) << "cap " << cap;
        EXPECT_LE(opened, cap) << "cap " << cap;
    }
}

} // namespace
} // namespace board
