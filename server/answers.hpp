#pragma once
// The API's answers, built from what the store keeps: the JSON each read
// endpoint and a stored submission send back.

#include "server/store.hpp"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace board {

using Json = nlohmann::ordered_json;

// "2026-12-09T19:00:00Z": UTC, to the second.
std::string iso_utc(std::int64_t ms);

Json game_json(const Game& game);

// The run's answer: its id, page and replay paths and its games with their
// places; `detail` adds the SHA-256, the time received and who made it.
// None when there is no such run.
std::optional<Json> run_answer(Store& store, std::int64_t id, bool detail);

// The board's query from the request's parameters, or a one-line reason.
std::variant<BoardQuery, std::string>
board_query(const std::multimap<std::string, std::string>& params);

// The board's query and, read by keyset, the cursor it starts after.
struct BoardRequest {
    BoardQuery query;
    std::optional<BoardCursor> after;
};

// The same parameters with `after`, a cursor from an answer's "next".
std::variant<BoardRequest, std::string>
board_request(const std::multimap<std::string, std::string>& params);

// The board's answer, as JSON text. A full page's "next" is the cursor of
// its last row, for ?after= to read the page that follows.
std::string board_text(Store& store, const BoardQuery& query);
std::string requested_board_text(Store& store, const BoardRequest& request);

// {"error": reason}
std::string error_body(const std::string& reason);

// JSON text as sent: UTF-8, any invalid byte replaced rather than thrown.
std::string json_text(const Json& json);

} // namespace board
