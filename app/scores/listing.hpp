#pragma once
// What the player reads of the table outside the game: the whole table in
// columns, and one line for each game of a session.

#include "app/scores/entry.hpp"

#include <optional>
#include <string>
#include <vector>

namespace scores {

// Headings and one row a game, columns aligned by the names' code points;
// or a sentence saying there are no games yet. Each line ends in '\n'.
std::string listing(const std::vector<Entry>& table);

// "Ana: 12340 pontos, 2o lugar entre os 10 melhores", or without the place.
std::string game_line(const Entry& game, std::optional<int> place);

// A game's levels as its end screen shows them: "3", or "1 a 2" when it rose.
std::string levels_text(int start, int reached);

// Control bytes, and C1 controls in UTF-8, become '?', so a name from a
// hand-edited file cannot drive the terminal it is printed on.
std::string printable(std::string_view name);

} // namespace scores
