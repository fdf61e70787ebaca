#pragma once
// Which of a run's games count as ranked. A ranked game was played on the
// seed of a ticket this server dealt, used by no other game, and sent no
// sooner after its ticket was issued than it and the games after it take
// in their own time: a run played slower than real time cannot be. What
// fails is still proven by its replay, so it goes to the open board, with
// the reason the player is told.

#include "server/store.hpp"
#include "server/submission.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board {

inline constexpr std::int64_t TICKET_LIFE_MS = 24LL * 3600 * 1000;

struct Ranking {
    Kind kind = Kind::open;
    std::string ticket;       // when ranked
    std::string open_because; // when open: one line, English
};

// One ranking a game, in the run's order. `tickets`: the ticket ids sent
// with the run in game order, an empty entry for a game without one;
// `find`: the store's ticket of an id; `now_ms`: the server's clock at
// submission.
std::vector<Ranking>
rank_games(const std::vector<JudgedGame>& games, const std::vector<std::string>& tickets,
           const std::function<std::optional<Ticket>(const std::string&)>& find,
           std::int64_t now_ms);

// The ids of "ID,ID,,ID"; none when some id is not a ticket's form.
std::optional<std::vector<std::string>> ticket_list(std::string_view text);

} // namespace board
