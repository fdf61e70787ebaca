#pragma once
// Seconds since the epoch as an ISO 8601 UTC date and time
// (2026-12-08T20:39:28Z), and back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// Clamped to the years 1970 to 9999, so whatever is written reads back.
std::string iso_utc(std::int64_t seconds);
// Only the exact form iso_utc writes.
std::optional<std::int64_t> parse_iso_utc(std::string_view text);

} // namespace common
