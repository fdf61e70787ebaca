#include "server/store_pool.hpp"

namespace board {

StorePool::StorePool(std::string database)
    : StorePool([database = std::move(database)] { return open_store(database); }) {}

StorePool::StorePool(Opener open) : open_(std::move(open)) {
    idle_.push_back(std::make_unique<WatchedStore>(open_()));
}

StorePool::Lease::~Lease() {
    if (store_ && store_->lost())
        drop();
    if (!store_)
        return;
    const std::lock_guard lock(pool_.mutex_);
    pool_.idle_.push_back(std::move(store_));
}

StorePool::Lease StorePool::take() {
    {
        const std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto store = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(store));
        }
    }
    return Lease(*this, std::make_unique<WatchedStore>(open_()));
}

} // namespace board
