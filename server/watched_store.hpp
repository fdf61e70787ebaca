#pragma once
// A store that notes when its engine reported the connection lost, so the
// pool that lent it closes it rather than lending it again.

#include "server/store.hpp"

#include <memory>

namespace board {

class WatchedStore final : public Store {
  public:
    explicit WatchedStore(std::unique_ptr<Store> store) : store_(std::move(store)) {}
    bool lost() const { return lost_; }

    Inserted insert_run(const NewRun& run) override;
    std::vector<Placed> board(const BoardQuery& query) override;
    std::vector<Placed> board_after(const BoardQuery& query, const BoardCursor& after) override;
    std::int64_t count(const BoardQuery& query) override;
    std::optional<StoredRun> run(std::int64_t id) override;
    std::vector<std::int64_t> places(std::int64_t run_id, const BoardQuery& query) override;
    std::vector<GamePlaces> run_places(std::int64_t run_id) override;
    std::optional<std::string> recording(std::int64_t id) override;
    Ticket issue_ticket(std::uint32_t seed, std::int64_t issued_ms) override;
    std::optional<Ticket> ticket(const std::string& id) override;
    std::int64_t purge_tickets(std::int64_t issued_before_ms) override;
    std::int64_t open_live(const LiveOpened& opened) override;
    bool deal_live(std::int64_t session, const LiveDeal& deal) override;
    LiveKept add_live_batch(std::int64_t session, const LiveBatch& batch) override;
    std::optional<Inserted> end_live(std::int64_t session, const NewRun& run, std::int64_t batches,
                                     int games) override;
    std::vector<std::int64_t> open_live_sessions() override;
    std::optional<KeptLive> live_session(std::int64_t session, std::int64_t after_seq) override;
    std::string live_lines(std::int64_t session) override;
    std::optional<std::int64_t> live_run(std::int64_t session) override;

  private:
    template <typename Call> auto watch(Call call) -> decltype(call());

    std::unique_ptr<Store> store_;
    bool lost_ = false;
};

} // namespace board
