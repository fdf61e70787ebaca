#pragma once
// A store held in memory, ordered as the store's contract says, for the
// pages' tests; the real engines are tested over HTTP.

#include "server/store.hpp"

#include <map>

namespace pages_test {

class MemoryStore final : public board::Store {
  public:
    // The runs get ids 1, 2, ... in the order added.
    std::int64_t add(board::StoredRun run, std::string recording = "");

    board::Inserted insert_run(const board::NewRun& run) override;
    std::vector<board::Placed> board(const board::BoardQuery& query) override;
    std::vector<board::Placed> board_after(const board::BoardQuery& query,
                                           const board::BoardCursor& after) override;
    std::int64_t count(const board::BoardQuery& query) override;
    std::optional<board::StoredRun> run(std::int64_t id) override;
    std::vector<std::int64_t> places(std::int64_t run_id, const board::BoardQuery& query) override;
    std::vector<board::GamePlaces> run_places(std::int64_t run_id) override;
    std::optional<std::string> recording(std::int64_t id) override;
    board::Ticket issue_ticket(std::uint32_t seed, std::int64_t issued_ms) override;
    std::optional<board::Ticket> ticket(const std::string& id) override;
    std::int64_t purge_tickets(std::int64_t issued_before_ms) override;

  private:
    std::vector<board::Placed> all(const board::BoardQuery& query) const;
    std::vector<board::StoredRun> runs_;
    std::map<std::int64_t, std::string> recordings_;
};

// A game with what the pages show; the rest left at its default.
board::Game game(std::string name, std::int64_t points, int start_level = 1, int end_level = 1,
                 std::string ending = "perdeu");

} // namespace pages_test
