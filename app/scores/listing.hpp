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

} // namespace scores
