#include "server/http/allowed_methods.hpp"

#include <array>
#include <charconv>

namespace board::http {
namespace {

struct Pattern {
    Place place;
    std::string_view prefix;
    std::string_view suffix; // after a run id, when `with_id`
    bool with_id;
};

constexpr std::array<Pattern, 10> PATTERNS = {{
    {Place::board_page, "/", "", false},
    {Place::healthz, "/healthz", "", false},
    {Place::api_board, "/api/board", "", false},
    {Place::api_runs, "/api/runs", "", false},
    {Place::api_tickets, "/api/tickets", "", false},
    {Place::api_run, "/api/runs/", "", true},
    {Place::run_page, "/runs/", "", true},
    {Place::run_replay, "/runs/", ".replay", true},
    {Place::run_cast, "/runs/", ".cast", true},
    {Place::static_file, "/static/", "", false},
}};

std::optional<std::int64_t> whole_number(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return id;
}

std::optional<Route> matched(const Pattern& pattern, std::string_view path) {
    if (pattern.place == Place::static_file)
        return path.starts_with(pattern.prefix) && path.size() > pattern.prefix.size()
                   ? std::optional<Route>(Route{pattern.place})
                   : std::nullopt;
    if (!pattern.with_id)
        return path == pattern.prefix ? std::optional<Route>(Route{pattern.place}) : std::nullopt;
    if (!path.starts_with(pattern.prefix) || !path.ends_with(pattern.suffix) ||
        path.size() < pattern.prefix.size() + pattern.suffix.size())
        return std::nullopt;
    std::string_view rest = path.substr(pattern.prefix.size());
    rest.remove_suffix(pattern.suffix.size());
    const auto id = whole_number(rest);
    if (!id)
        return std::nullopt;
    return Route{pattern.place, *id};
}

} // namespace

std::optional<Route> route_of(std::string_view path) {
    for (const Pattern& pattern : PATTERNS)
        if (const auto route = matched(pattern, path))
            return route;
    return std::nullopt;
}

bool takes_post(Place place) {
    return place == Place::api_runs || place == Place::api_tickets;
}

std::optional<std::string> allowed_methods(std::string_view path) {
    const auto route = route_of(path);
    if (!route)
        return std::nullopt;
    return std::string(takes_post(route->place) ? "POST" : "GET, HEAD");
}

} // namespace board::http
