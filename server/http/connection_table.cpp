#include "server/http/connection_table.hpp"

namespace board::http {

ConnectionTable::ConnectionTable(std::size_t in_all, std::size_t per_address)
    : in_all_(in_all), per_address_(per_address) {}

std::optional<int> ConnectionTable::admit(const std::string& address, bool exempt) {
    const std::lock_guard lock(mutex_);
    if (open_ >= in_all_)
        return 503;
    if (!exempt) {
        std::size_t& mine = by_address_[address];
        if (mine >= per_address_) {
            if (mine == 0)
                by_address_.erase(address);
            return 429;
        }
        ++mine;
    }
    ++open_;
    return std::nullopt;
}

void ConnectionTable::release(const std::string& address, bool exempt) {
    const std::lock_guard lock(mutex_);
    --open_;
    if (exempt)
        return;
    const auto found = by_address_.find(address);
    if (found != by_address_.end() && --found->second == 0)
        by_address_.erase(found);
}

std::size_t ConnectionTable::open() const {
    const std::lock_guard lock(mutex_);
    return open_;
}

} // namespace board::http
