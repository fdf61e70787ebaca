#pragma once
// The game's page, `/play`: the program itself, built for WebAssembly,
// played in an 80x50 terminal in the page.

#include <string>

namespace board::pages {

std::string play_page();

} // namespace board::pages
