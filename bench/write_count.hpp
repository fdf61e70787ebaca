#pragma once
// The write() calls the program makes on one file descriptor, counted where
// they pass to the system (the link wraps write(), see CMakeLists.txt).

#include <cstdint>

namespace bench {

struct WriteCount {
    std::uint64_t calls = 0;
    std::uint64_t bytes = 0; // as the system took them
};

// From now on, the calls on `fd` are counted (and only those).
void count_writes_on(int fd);
WriteCount writes_so_far();

} // namespace bench
