#include "server/pages/cast_cache.hpp"

namespace board::pages {

std::shared_ptr<const std::string> CastCache::find(std::int64_t run) {
    const std::lock_guard lock(mutex_);
    const auto found = where_.find(run);
    if (found == where_.end())
        return nullptr;
    recent_.splice(recent_.begin(), recent_, found->second);
    return found->second->second;
}

void CastCache::keep(std::int64_t run, std::shared_ptr<const std::string> cast) {
    if (!cast || cast->size() > capacity_)
        return;
    const std::lock_guard lock(mutex_);
    if (const auto found = where_.find(run); found != where_.end()) {
        bytes_ -= found->second->second->size();
        recent_.erase(found->second);
        where_.erase(found);
    }
    while (bytes_ + cast->size() > capacity_) {
        bytes_ -= recent_.back().second->size();
        where_.erase(recent_.back().first);
        recent_.pop_back();
    }
    bytes_ += cast->size();
    recent_.emplace_front(run, std::move(cast));
    where_[run] = recent_.begin();
}

std::size_t CastCache::bytes() const {
    const std::lock_guard lock(mutex_);
    return bytes_;
}

} // namespace board::pages
