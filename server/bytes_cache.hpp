#pragma once
// Texts made on request and kept in memory under a cap on their total size,
// the least recently asked for going first: the run pages' casts, and the
// gzip forms of the answers that do not change.

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

namespace board {

template <class Key> class BytesCache {
  public:
    explicit BytesCache(std::size_t capacity_bytes) : capacity_(capacity_bytes) {}
    BytesCache(const BytesCache&) = delete;
    BytesCache& operator=(const BytesCache&) = delete;

    // The text kept under `key`, now the most recently used; null if none.
    std::shared_ptr<const std::string> find(const Key& key) {
        const std::lock_guard lock(mutex_);
        const auto found = where_.find(key);
        if (found == where_.end())
            return nullptr;
        recent_.splice(recent_.begin(), recent_, found->second);
        return found->second->second;
    }

    // Keeps it, putting out the least recently used until it fits; one
    // larger than the whole cap is not kept.
    void keep(const Key& key, std::shared_ptr<const std::string> text) {
        if (!text || text->size() > capacity_)
            return;
        const std::lock_guard lock(mutex_);
        if (const auto found = where_.find(key); found != where_.end()) {
            bytes_ -= found->second->second->size();
            recent_.erase(found->second);
            where_.erase(found);
        }
        while (bytes_ + text->size() > capacity_) {
            bytes_ -= recent_.back().second->size();
            where_.erase(recent_.back().first);
            recent_.pop_back();
        }
        bytes_ += text->size();
        recent_.emplace_front(key, std::move(text));
        where_[key] = recent_.begin();
    }

    std::size_t bytes() const {
        const std::lock_guard lock(mutex_);
        return bytes_;
    }

  private:
    using Entry = std::pair<Key, std::shared_ptr<const std::string>>;
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::list<Entry> recent_; // most recently used first
    std::unordered_map<Key, typename std::list<Entry>::iterator> where_;
    std::size_t bytes_ = 0;
};

} // namespace board
