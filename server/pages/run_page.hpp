#pragma once
// A run's page, `/runs/{id}`: its games with their results and places, the
// recording to download with the line that replays it in a terminal, and
// the run played in the page from its asciicast (`/runs/{id}.cast`).

#include "server/store.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace board::pages {

// The file name the page offers the recording under, and names in the
// terminal's line: "orbitrix-12.replay".
std::string recording_file_name(std::int64_t run_id);

// None when the store has no such run.
std::optional<std::string> run_page(Store& store, std::int64_t run_id);

} // namespace board::pages
