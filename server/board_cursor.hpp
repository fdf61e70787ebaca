#pragma once
// A board page's cursor as the API and the page's links carry it: the last
// row's sort key as one token, "points.received_ms.run.game" in decimal.
// Clients pass it back as it was given; the reader takes nothing else.

#include "server/store.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace board {

std::string cursor_text(const BoardCursor& cursor);
BoardCursor cursor_of(const Placed& row);

// None for anything cursor_text could not have written.
std::optional<BoardCursor> read_cursor(std::string_view text);

} // namespace board
