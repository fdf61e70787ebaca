#pragma once
// The casts the run pages play, kept in memory under a cap on their total
// size, the least recently asked for going first. A cast is some 265 bytes
// a frame, tens of megabytes for a long run, and made again from the stored
// recording in a fraction of a second: it is not worth a place in the
// database, which would keep every one that was ever asked for.

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace board::pages {

class CastCache {
  public:
    explicit CastCache(std::size_t capacity_bytes) : capacity_(capacity_bytes) {}

    // The cast kept for the run, now the most recently used; null if none.
    std::shared_ptr<const std::string> find(std::int64_t run);
    // Keeps it, putting out the least recently used until it fits; one
    // larger than the whole cap is not kept.
    void keep(std::int64_t run, std::shared_ptr<const std::string> cast);
    std::size_t bytes() const;

  private:
    using Entry = std::pair<std::int64_t, std::shared_ptr<const std::string>>;
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::list<Entry> recent_; // most recently used first
    std::unordered_map<std::int64_t, std::list<Entry>::iterator> where_;
    std::size_t bytes_ = 0;
};

} // namespace board::pages
