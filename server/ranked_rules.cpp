#include "server/ranked_rules.hpp"

#include <algorithm>

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

} // namespace board
