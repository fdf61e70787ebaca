#include "server/store_pool.hpp"

namespace board {

StorePool::StorePool(std::string database) : database_(std::move(database)) {
    idle_.push_back(open_store(database_));
}

StorePool::Lease::~Lease() {
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
    return Lease(*this, open_store(database_));
}

} // namespace board
