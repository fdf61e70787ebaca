#pragma once
// Connections to the board's database, one per thread at a time: a store
// is not shared between threads, so each request borrows one and gives it
// back. A store whose connection was lost is dropped, not given back. At
// most `most` are lent at once, and a borrower past them waits its turn, in
// the order they came (a newcomer never takes a store before one waiting):
// a database's work runs on the same few cores as the server's, and a
// connection for every busy thread (a PostgreSQL process each) only makes
// more of them wait on the cores, the unlucky ones for long.

#include "server/store.hpp"
#include "server/watched_store.hpp"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace board {

class StorePool {
  public:
    using Opener = std::function<std::unique_ptr<Store>()>;

    // Opens the first connection at once, so a database that cannot be
    // opened or migrated stops the server before it listens.
    explicit StorePool(std::string database, int most = UNBOUNDED);
    explicit StorePool(Opener open, int most = UNBOUNDED);
    static constexpr int UNBOUNDED = 1 << 30;

    class Lease {
      public:
        Lease(StorePool& pool, std::unique_ptr<WatchedStore> store)
            : pool_(pool), store_(std::move(store)) {}
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Store& operator*() const { return *store_; }
        Store* operator->() const { return store_.get(); }
        // The connection failed: close it rather than lend it again.
        void drop() { store_.reset(); }

      private:
        StorePool& pool_;
        std::unique_ptr<WatchedStore> store_;
    };

    Lease take();

  private:
    void given_back(std::unique_ptr<WatchedStore> store);

    Opener open_;
    std::mutex mutex_;
    std::condition_variable freed_;
    // Borrowers are numbered as they come; those numbered below `admitted_`
    // may hold a store, and each store given back admits one more.
    std::uint64_t next_ = 0;
    std::uint64_t admitted_;
    std::vector<std::unique_ptr<WatchedStore>> idle_;
};

} // namespace board
