#pragma once
// What a person's page answers when it cannot be shown: a page in the
// board's own style that says why and leads back to the board, where the
// API answers JSON.

#include <string>

namespace board::pages {

enum class Missing {
    run,     // /runs/ID of no run
    page,    // a path the board has no page at
    filters, // the board's query is not one it reads
};

// The page's HTML; its status is 404, or 400 for `filters`.
std::string error_page(Missing what);
int error_status(Missing what);

} // namespace board::pages
