#include "server/ranked_rules.hpp"

#include <algorithm>
#include <set>

namespace board {
namespace {

// Both stores deal 32 hex digits; a little room past that costs nothing.
constexpr std::size_t LONGEST_TICKET = 64;
// More games than a run of a few hundred kilobytes could hold.
constexpr std::size_t MOST_TICKETS = 10000;

bool ticket_form(std::string_view id) {
    return id.size() <= LONGEST_TICKET && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

} // namespace

std::optional<std::vector<std::string>> ticket_list(std::string_view text) {
    std::vector<std::string> ids;
    if (text.empty())
        return ids;
    for (;;) {
        const auto comma = text.find(',');
        const std::string_view id = text.substr(0, comma);
        if (!ticket_form(id) || ids.size() == MOST_TICKETS)
            return std::nullopt;
        ids.emplace_back(id);
        if (comma == std::string_view::npos)
            return ids;
        text.remove_prefix(comma + 1);
    }
}

std::vector<Ranking>
rank_games(const std::vector<JudgedGame>& games, const std::vector<std::string>& tickets,
           const std::function<std::optional<Ticket>(const std::string&)>& find,
           std::int64_t now_ms) {
    // A game's ticket was issued before it began, and the games after it
    // were played after it ended: all of them fit between issue and now.
    std::vector<std::int64_t> from_here(games.size() + 1, 0);
    for (std::size_t i = games.size(); i-- > 0;)
        from_here[i] = from_here[i + 1] + games[i].ms;

    std::vector<Ranking> ranked;
    std::set<std::string> used_here;
    for (std::size_t i = 0; i < games.size(); ++i) {
        const std::string id = i < tickets.size() ? tickets[i] : std::string();
        const auto open = [&](std::string why) {
            ranked.push_back(Ranking{Kind::open, {}, std::move(why)});
        };
        if (id.empty()) {
            open("played without a ticket");
            continue;
        }
        const std::optional<Ticket> ticket = find(id);
        if (!ticket) {
            open("its ticket is not one this server dealt");
            continue;
        }
        if (ticket->run_id || used_here.contains(id)) {
            open("its ticket was used before");
            continue;
        }
        if (games[i].seed != ticket->seed) {
            open("not played on its ticket's seed");
            continue;
        }
        if (now_ms - ticket->issued_ms > TICKET_LIFE_MS) {
            open("its ticket is older than 24 hours");
            continue;
        }
        if (now_ms - ticket->issued_ms < from_here[i]) {
            open("sent sooner after its ticket than the games take to play");
            continue;
        }
        used_here.insert(id);
        ranked.push_back(Ranking{Kind::ranked, id, {}});
    }
    return ranked;
}

} // namespace board
