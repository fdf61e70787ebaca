#pragma once
// The casts the run pages play, kept in memory under a cap on their total
// size, the least recently asked for going first. A cast is some 265 bytes
// a frame, tens of megabytes for a long run, and made again from the stored
// recording in a fraction of a second: it is not worth a place in the
// database, which would keep every one that was ever asked for.

#include "server/bytes_cache.hpp"

#include <cstdint>

namespace board::pages {

using CastCache = BytesCache<std::int64_t>; // by run id

} // namespace board::pages
