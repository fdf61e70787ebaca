#pragma once
// Text put into the board's pages. Every value that did not come from this
// program's own literals (a player's name above all) goes through escaped().

#include <string>
#include <string_view>

namespace board::pages {

// The five characters HTML gives a meaning to, as references; everything
// else, UTF-8 included, stands as it is. Safe in text and in a quoted
// attribute alike.
std::string escaped(std::string_view text);

// A whole document: the language, the viewport, the stylesheet, and `head`
// (already markup) before the body's `body` (already markup).
std::string document(std::string_view title, std::string_view head, std::string_view body);

// The head of a page that plays a session: the player's stylesheet and
// script, then the page's own script that drives it.
std::string player_head(std::string_view page_script);

} // namespace board::pages
