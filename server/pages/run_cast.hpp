#pragma once
// The asciicast a run's page plays: made from the stored recording when the
// cache does not have it, and kept there.

#include "server/pages/cast_cache.hpp"
#include "server/store.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace board::pages {

// Null when the store has no such run. Throws StoreError when a stored
// recording makes no cast, which the replay at submission rules out.
std::shared_ptr<const std::string> run_cast(Store& store, CastCache& casts, std::int64_t run_id);

} // namespace board::pages
