#include "server/http/allowed_methods.hpp"

#include <array>
#include <charconv>

namespace board::http {
namespace {

enum class Methods { read, post, both };

struct Pattern {
    Place place;
    std::string_view prefix;
    std::string_view suffix; // after an id, when `with_id`
    bool with_id;
    Methods methods;
};

constexpr std::array<Pattern, 16> PATTERNS = {{
    {Place::board_page, "/", "", false, Methods::read},
    {Place::healthz, "/healthz", "", false, Methods::read},
    {Place::api_board, "/api/board", "", false, Methods::read},
    {Place::api_runs, "/api/runs", "", false, Methods::post},
    {Place::api_tickets, "/api/tickets", "", false, Methods::post},
    {Place::api_run, "/api/runs/", "", true, Methods::read},
    {Place::run_page, "/runs/", "", true, Methods::read},
    {Place::run_replay, "/runs/", ".replay", true, Methods::read},
    {Place::run_cast, "/runs/", ".cast", true, Methods::read},
    {Place::static_file, "/static/", "", false, Methods::read},
    {Place::api_live, "/api/live", "", false, Methods::both},
    {Place::api_live_games, "/api/live/", "/games", true, Methods::post},
    {Place::api_live_batches, "/api/live/", "/batches", true, Methods::post},
    {Place::api_live_stream, "/api/live/", "/stream", true, Methods::read},
    {Place::live_page, "/live/", "", true, Methods::read},
    {Place::play_page, "/play", "", false, Methods::read},
}};

Methods methods_of(Place place) {
    for (const Pattern& pattern : PATTERNS)
        if (pattern.place == place)
            return pattern.methods;
    return Methods::read;
}

std::string_view methods_text(Methods methods) {
    switch (methods) {
    case Methods::read:
        return "GET, HEAD";
    case Methods::post:
        return "POST";
    case Methods::both:
        break;
    }
    return "GET, HEAD, POST";
}

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

bool takes(Place place, std::string_view method) {
    const Methods methods = methods_of(place);
    if (method == "POST")
        return methods != Methods::read;
    return (method == "GET" || method == "HEAD") && methods != Methods::post;
}

std::optional<std::string> allowed_methods(std::string_view path) {
    const auto route = route_of(path);
    if (!route)
        return std::nullopt;
    return std::string(methods_text(methods_of(route->place)));
}

} // namespace board::http
