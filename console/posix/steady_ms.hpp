#pragma once
// The clock the terminal backend's waits and key timeouts run on.

#include <chrono>
#include <cstdint>

namespace console::posix {

inline std::int64_t steady_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace console::posix
