#pragma once
// The live sessions' keeper over the board's store: each call on a
// connection of the pool, committed before it returns, and an ended
// session stored as a run, with its answer as POST /api/runs gives it.
// The batches of all sessions share transactions (group_commit.hpp).

#include "server/live/live_board.hpp"
#include "server/service/group_commit.hpp"
#include "server/store_pool.hpp"

namespace board {

class StoreKeeper final : public live::LiveKeeper {
  public:
    StoreKeeper(StorePool& stores, std::function<std::int64_t()> now_ms)
        : stores_(stores), now_ms_(std::move(now_ms)),
          batches_([&stores](const std::vector<LiveBatch>& group) {
              stores.take()->add_live_batches(group);
          }) {}

    std::int64_t opened(std::int64_t at_ms) override;
    void dealt(std::int64_t session, int game, std::uint32_t seed, std::int64_t at_ms) override;
    void batch(std::int64_t session, std::int64_t seq, std::int64_t at_ms,
               const std::string& lines) override;
    std::string ended(std::int64_t session, const std::string& recording,
                      const std::vector<live::EndedGame>& games) override;

    // The batches' transactions so far.
    CommitCounts commits() const { return batches_.counts(); }

  private:
    StorePool& stores_;
    std::function<std::int64_t()> now_ms_;
    GroupCommit batches_;
};

} // namespace board
