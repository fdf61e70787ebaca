#pragma once
// The board's paths, written once: which route a path names, with the run
// id it carries, and which methods each takes, so a method it does not
// take answers 405 with an Allow header, and a path it does not know 404.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace board::http {

enum class Place {
    board_page,       // /
    healthz,          // /healthz
    api_board,        // /api/board
    api_runs,         // /api/runs (POST)
    api_tickets,      // /api/tickets (POST)
    api_run,          // /api/runs/ID
    run_page,         // /runs/ID
    run_replay,       // /runs/ID.replay
    run_cast,         // /runs/ID.cast
    static_file,      // /static/NAME: the folder decides
    api_live,         // /api/live: the games in play (GET), a session opened (POST)
    api_live_games,   // /api/live/ID/games (POST): a game dealt
    api_live_batches, // /api/live/ID/batches (POST)
    api_live_stream,  // /api/live/ID/stream: the session as it is played
    live_page,        // /live/ID
    play_page,        // /play: the game in the page
};

struct Route {
    Place place;
    std::int64_t id = 0; // the run's, for those that name one
};

// The route a path names, or none; a run id too large for its type is none.
std::optional<Route> route_of(std::string_view path);

// Whether the route takes this method (GET's HEAD with it).
bool takes(Place place, std::string_view method);

// The Allow header's value for a known path ("GET, HEAD" or "POST"); none
// for a path the board does not serve.
std::optional<std::string> allowed_methods(std::string_view path);

} // namespace board::http
