#pragma once
// orbitrix --scores: the table on standard output, without a terminal.

#include <iosfwd>

namespace scores {

// 0 once shown; 1, with a line on standard error, when the table cannot be
// read or is not understood, so that a script never takes a broken table
// for an empty one.
int print_scores(std::ostream& out, std::ostream& err);

} // namespace scores
