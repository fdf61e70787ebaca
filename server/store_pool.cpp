#include "server/store_pool.hpp"

namespace board {

StorePool::StorePool(std::string database, int most)
    : StorePool([database = std::move(database)] { return open_store(database); }, most) {}

StorePool::StorePool(Opener open, int most)
    : open_(std::move(open)), admitted_(static_cast<std::uint64_t>(most)) {
    idle_.push_back(std::make_unique<WatchedStore>(open_()));
}

StorePool::Lease::~Lease() {
    if (store_ && store_->lost())
        drop();
    pool_.given_back(std::move(store_));
}

void StorePool::given_back(std::unique_ptr<WatchedStore> store) {
    {
        const std::lock_guard lock(mutex_);
        ++admitted_;
        if (store)
            idle_.push_back(std::move(store));
    }
    // Only the one now admitted may go, but which one waits is not known.
    freed_.notify_all();
}

StorePool::Lease StorePool::take() {
    {
        std::unique_lock lock(mutex_);
        const std::uint64_t mine = next_++;
        freed_.wait(lock, [&] { return mine < admitted_; });
        if (!idle_.empty()) {
            auto store = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(store));
        }
    }
    try {
        return Lease(*this, std::make_unique<WatchedStore>(open_()));
    } catch (...) {
        given_back(nullptr);
        throw;
    }
}

} // namespace board
