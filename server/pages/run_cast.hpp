#pragma once
// The asciicast a run's page plays: made from the stored recording the
// first time it is asked for, then kept with the run and served as kept.

#include "server/store.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace board::pages {

// None when the store has no such run. Throws StoreError when a stored
// recording makes no cast, which the replay at submission rules out.
std::optional<std::string> run_cast(Store& store, std::int64_t run_id);

} // namespace board::pages
