#pragma once
// A read of the board as it is answered: 304 for a client that holds the
// board's version (board_version.hpp), else the body made for that version
// and target before, else made now and kept. A board answer changes only
// when a run comes, so between runs a page asked again and again costs the
// version's one row, not its queries.

#include "server/bytes_cache.hpp"
#include "server/http/message.hpp"
#include "server/store.hpp"

#include <functional>
#include <optional>
#include <string>

namespace board {

// The answers made, by version and target.
using MadeAnswers = BytesCache<std::string>;

// `make` gives the body, or none when there is nothing at that target: then
// `missing`'s refusal is sent, and nothing is kept.
http::Response board_read(const http::Request& request, Store& store, MadeAnswers& made,
                          const std::string& content_type,
                          const std::function<std::optional<std::string>()>& make,
                          const std::function<http::Response()>& missing);

} // namespace board
