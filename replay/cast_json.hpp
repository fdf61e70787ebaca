#pragma once
// The pieces of JSON an asciicast is written with.

#include <cstdint>
#include <string>
#include <string_view>

namespace replay {

// A JSON string, quotes included. The text must be UTF-8; control bytes
// are escaped.
std::string json_string(std::string_view text);
// Milliseconds as seconds, exactly: "12.345".
std::string json_seconds(std::int64_t ms);

} // namespace replay
