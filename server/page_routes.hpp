#pragma once
// The board for people: the HTML pages, each run's asciicast and the files
// the pages load from /static/. Every answer of the server, pages or not,
// carries the policy that lets a page load nothing from another host.

#include "server/pages/cast_cache.hpp"
#include "server/store_pool.hpp"

#include <string>

namespace httplib {
class Server;
}

namespace board {

// `web_dir`: the folder of the stylesheet, the script and the player's
// files (the build's web/ or the installed share/orbitrix/web); `casts`:
// the casts made, kept for the next visit.
void add_page_routes(httplib::Server& http, StorePool& stores, const std::string& web_dir,
                     pages::CastCache& casts);

} // namespace board
