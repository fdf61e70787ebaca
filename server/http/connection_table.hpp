#pragma once
// The connections open now, in all and per peer address, so one address,
// or everybody together, cannot hold more than the edge allows.

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace board::http {

class ConnectionTable {
  public:
    ConnectionTable(std::size_t in_all, std::size_t per_address);

    // Counts a new connection from `address`, or says why not: 503 when
    // the server holds its most, 429 when that address does. An `exempt`
    // peer (a trusted proxy, which speaks for many) counts only in all.
    std::optional<int> admit(const std::string& address, bool exempt);
    // A connection admitted with the same arguments has ended.
    void release(const std::string& address, bool exempt);
    std::size_t open() const;

  private:
    std::size_t in_all_;
    std::size_t per_address_;
    mutable std::mutex mutex_;
    std::size_t open_ = 0;
    std::unordered_map<std::string, std::size_t> by_address_;
};

} // namespace board::http
