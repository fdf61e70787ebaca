#pragma once
// A recording read back from its text, or refused with the line at fault.

#include "replay/recording.hpp"

#include <string>
#include <string_view>
#include <variant>

namespace replay {

struct Refusal {
    int line = 0; // 0 when the file could not be read at all
    std::string what;
};

std::variant<Recording, Refusal> read_recording(std::string_view text);
std::variant<Recording, Refusal> load_recording(const std::string& path);

// "orbitrix: FILE line N: what", as standard error shows it.
std::string refusal_message(const std::string& path, const Refusal& refusal);

} // namespace replay
