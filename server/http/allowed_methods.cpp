#include "server/http/allowed_methods.hpp"

#include <algorithm>
#include <array>

namespace board::http {
namespace {

struct Route {
    std::string_view prefix;
    std::string_view suffix; // after a run id, when `with_id`
    bool with_id;
    bool is_post;
};

// The same paths as the routes in board_service.cpp and page_routes.cpp.
constexpr std::array<Route, 10> ROUTES = {{
    {"/", "", false, false},
    {"/healthz", "", false, false},
    {"/api/board", "", false, false},
    {"/api/runs", "", false, true},
    {"/api/tickets", "", false, true},
    {"/api/runs/", "", true, false},
    {"/runs/", "", true, false},
    {"/runs/", ".replay", true, false},
    {"/runs/", ".cast", true, false},
    {"/static/", "", true, false}, // any file name: the folder decides
}};

bool digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool matches(const Route& route, std::string_view path) {
    if (!route.with_id)
        return path == route.prefix;
    if (!path.starts_with(route.prefix) || path.size() <= route.prefix.size())
        return false;
    if (route.prefix == "/static/")
        return true;
    std::string_view rest = path.substr(route.prefix.size());
    if (!rest.ends_with(route.suffix))
        return false;
    rest.remove_suffix(route.suffix.size());
    return digits(rest);
}

} // namespace

std::optional<std::string> allowed_methods(std::string_view path) {
    const auto found = std::find_if(ROUTES.begin(), ROUTES.end(),
                                    [path](const Route& r) { return matches(r, path); });
    if (found == ROUTES.end())
        return std::nullopt;
    return std::string(found->is_post ? "POST" : "GET, HEAD");
}

} // namespace board::http
