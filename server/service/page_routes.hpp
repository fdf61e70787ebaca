#pragma once
// The board for people: the HTML pages, each run's asciicast and the files
// the pages load from /static/.

#include "server/http/message.hpp"
#include "server/pages/cast_cache.hpp"
#include "server/pages/error_page.hpp"
#include "server/service/board_read.hpp"
#include "server/store_pool.hpp"

#include <cstdint>
#include <string>

namespace board {

// A JSON refusal, as the API and the pages' own requests read it.
http::Response refusal_answer(int status, const std::string& reason);
// A person's page that cannot be shown, as a page.
http::Response page_refusal(pages::Missing what);

// The board's pages, read as board_read.hpp says.
http::Response board_page_answer(const http::Request& request, StorePool& stores,
                                 MadeAnswers& made);
http::Response run_page_answer(const http::Request& request, std::int64_t id, StorePool& stores,
                               MadeAnswers& made);
// `casts`: the casts made, kept for the next visit.
http::Response run_cast_answer(std::int64_t id, StorePool& stores, pages::CastCache& casts);
// `web_dir`: the folder of the stylesheet, the script and the player's
// files (the build's web/ or the installed share/orbitrix/web).
http::Response static_answer(const http::Request& request, const std::string& web_dir);

} // namespace board
