#pragma once
// Connections to the board's database, one per thread at a time: a store
// is not shared between threads, so each request borrows one and gives it
// back. A store whose connection was lost is dropped, not given back.

#include "server/store.hpp"
#include "server/watched_store.hpp"

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
    explicit StorePool(std::string database);
    explicit StorePool(Opener open);

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
    Opener open_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<WatchedStore>> idle_;
};

} // namespace board
