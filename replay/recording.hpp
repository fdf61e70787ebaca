#pragma once
// What a recording holds: everything a session took from outside, in the
// order it was taken, and how each of its games ended.

#include "game/resultado.hpp"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace replay {

inline constexpr int FORMAT_VERSION = 1;

// An answer of the clock; the game seeds its draws with these.
struct TimeRead {
    std::int64_t seconds = 0;
    friend bool operator==(const TimeRead&, const TimeRead&) = default;
};

// A key code read, and how many times the keyboard test answered "no key"
// since the key before it: that count puts the key back in the same frame.
struct KeyRead {
    int code = 0;
    std::int64_t misses = 0;
    friend bool operator==(const KeyRead&, const KeyRead&) = default;
};

struct GameEnded {
    game::Resultado result;
    friend bool operator==(const GameEnded& a, const GameEnded& b) {
        const auto& x = a.result;
        const auto& y = b.result;
        return x.nome == y.nome && x.nivel_inicial == y.nivel_inicial && x.nivel == y.nivel &&
               x.pontos == y.pontos && x.vidas == y.vidas && x.desfecho == y.desfecho;
    }
};

using Event = std::variant<TimeRead, KeyRead, GameEnded>;

struct Recording {
    std::string made_by; // the recording program's version and platform
    std::vector<Event> events;
    // The number of the last whole line.
    int last_line = 0;
    // The last line had no line break: a write cut off, dropped.
    bool cut_short = false;
};

} // namespace replay
