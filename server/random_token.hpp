#pragma once
// A token a client proves itself with, or that names what only it may
// claim (a ticket, a live session's secret): 128 bits from the system's
// source, as 32 lower-case hex digits.

#include <string>

namespace board {

std::string random_token();

} // namespace board
