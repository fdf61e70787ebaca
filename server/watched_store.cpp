#include "server/watched_store.hpp"

#include "server/sql/connection.hpp"

namespace board {

template <typename Call> auto WatchedStore::watch(Call call) -> decltype(call()) {
    try {
        return call();
    } catch (const sql::Error& error) {
        lost_ = lost_ || error.failure == sql::Failure::connection_lost;
        throw;
    }
}

Inserted WatchedStore::insert_run(const NewRun& run) {
    return watch([&] { return store_->insert_run(run); });
}
std::vector<Placed> WatchedStore::board(const BoardQuery& query) {
    return watch([&] { return store_->board(query); });
}
std::int64_t WatchedStore::count(const BoardQuery& query) {
    return watch([&] { return store_->count(query); });
}
std::optional<StoredRun> WatchedStore::run(std::int64_t id) {
    return watch([&] { return store_->run(id); });
}
std::vector<std::int64_t> WatchedStore::places(std::int64_t run_id, const BoardQuery& query) {
    return watch([&] { return store_->places(run_id, query); });
}

std::vector<Placed> WatchedStore::board_after(const BoardQuery& query, const BoardCursor& after) {
    return watch([&] { return store_->board_after(query, after); });
}

std::vector<GamePlaces> WatchedStore::run_places(std::int64_t run_id) {
    return watch([&] { return store_->run_places(run_id); });
}
std::optional<std::string> WatchedStore::recording(std::int64_t id) {
    return watch([&] { return store_->recording(id); });
}
Ticket WatchedStore::issue_ticket(std::uint32_t seed, std::int64_t issued_ms) {
    return watch([&] { return store_->issue_ticket(seed, issued_ms); });
}
std::optional<Ticket> WatchedStore::ticket(const std::string& id) {
    return watch([&] { return store_->ticket(id); });
}
std::int64_t WatchedStore::purge_tickets(std::int64_t issued_before_ms) {
    return watch([&] { return store_->purge_tickets(issued_before_ms); });
}
std::int64_t WatchedStore::open_live(const LiveOpened& opened) {
    return watch([&] { return store_->open_live(opened); });
}
bool WatchedStore::deal_live(std::int64_t session, const LiveDeal& deal) {
    return watch([&] { return store_->deal_live(session, deal); });
}
LiveKept WatchedStore::add_live_batch(std::int64_t session, const LiveBatch& batch) {
    return watch([&] { return store_->add_live_batch(session, batch); });
}
std::optional<Inserted> WatchedStore::end_live(std::int64_t session, const NewRun& run,
                                               std::int64_t batches, int games) {
    return watch([&] { return store_->end_live(session, run, batches, games); });
}
std::vector<std::int64_t> WatchedStore::open_live_sessions() {
    return watch([&] { return store_->open_live_sessions(); });
}
std::optional<KeptLive> WatchedStore::live_session(std::int64_t session, std::int64_t after_seq) {
    return watch([&] { return store_->live_session(session, after_seq); });
}
std::string WatchedStore::live_lines(std::int64_t session) {
    return watch([&] { return store_->live_lines(session); });
}
std::optional<std::int64_t> WatchedStore::live_run(std::int64_t session) {
    return watch([&] { return store_->live_run(session); });
}

} // namespace board
