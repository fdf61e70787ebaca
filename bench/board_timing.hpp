#pragma once
// The board's query times on a seeded database: a 60-game run's places and
// its API answer as version 1 of the schema asked them and as now, and a
// board page first and deep. Median of five each, printed in ms.

#include <cstdint>
#include <string>

int time_board(const std::string& database, std::int64_t deep_offset);
