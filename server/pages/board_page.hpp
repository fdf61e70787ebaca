#pragma once
// The board's page, `/`: a table of the best games of all levels and one for
// each starting level, each its first PAGE_SIZE rows with a link onward; or,
// asked with ?level=...&offset=... or &after=..., one table from that row on,
// with links back and forth. "Proximos" reads by keyset (after the last row
// shown), so a deep page costs what the first does; offsets still work. Two tabs, ranked first,
// show the ranked or the open games alone (?kind=ranked|open); without a kind the tables hold both.

#include "server/store.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace board::pages {

inline constexpr int PAGE_SIZE = 100;
inline constexpr int LEVELS = 4;

struct BoardPageQuery {
    bool one_table = false;        // false: every table from its first row
    std::optional<int> level;      // with one_table; none: all levels
    std::int64_t offset = 0;       // with one_table
    std::optional<Kind> kind = {}; // none: both
    // With one_table: the rows after this one, in place of the offset.
    std::optional<BoardCursor> after = {};
};

// The query string's `level` (all, 1 to 4), `offset` (a row number, a
// multiple of PAGE_SIZE is not required) and `kind` (ranked, open, all), as
// the page's own links write them. Neither level nor offset given: every
// table. `after`, the cursor the "Proximos" link writes, in place of an
// offset. Anything else: none, for a 400.
std::optional<BoardPageQuery> board_page_query(std::optional<std::string_view> level,
                                               std::optional<std::string_view> offset,
                                               std::optional<std::string_view> kind = {},
                                               std::optional<std::string_view> after = {});

// The page, from what `store` holds now.
std::string board_page(Store& store, const BoardPageQuery& query);

} // namespace board::pages
