#pragma once
// The live sessions' keeper over the board's store: each call on a
// connection of the pool, committed before it returns, and an ended
// session stored as a run, with its answer as POST /api/runs gives it.

#include "server/live/live_board.hpp"
#include "server/store_pool.hpp"

namespace board {

class StoreKeeper final : public live::LiveKeeper {
  public:
    StoreKeeper(StorePool& stores, std::function<std::int64_t()> now_ms)
        : stores_(stores), now_ms_(std::move(now_ms)) {}

    std::int64_t opened(const LiveOpened& opened) override;
    bool dealt(std::int64_t session, const LiveDeal& deal) override;
    LiveKept batch(std::int64_t session, const LiveBatch& batch) override;
    std::optional<std::string> ended(std::int64_t session, const std::string& recording,
                                     const std::vector<live::EndedGame>& games,
                                     std::int64_t batches, int dealt) override;
    std::vector<std::int64_t> open_sessions() override;
    std::optional<KeptLive> kept(std::int64_t session, std::int64_t after_seq) override;
    std::string run_body(std::int64_t run) override;

  private:
    StorePool& stores_;
    std::function<std::int64_t()> now_ms_;
};

} // namespace board
