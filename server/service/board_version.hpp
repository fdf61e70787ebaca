#pragma once
// What every answer read from the board is made from: its games, which are
// only ever added, never changed or taken away, and this program, which
// makes the answer's bytes. So the number of games stored and the program's
// version name an answer's content before it is made, and a client that
// holds it is answered 304 for one row's sum. Read from the database, it
// is the same for every server on one database, and moves with each run
// stored, by whichever server.

#include "server/store.hpp"

#include <string>

namespace board {

std::string board_version(Store& store);

} // namespace board
