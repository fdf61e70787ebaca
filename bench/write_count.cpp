#include "write_count.hpp"

#include <atomic>
#include <sys/types.h>

// A wrapped symbol is global by nature; the counters are its only state.
namespace {

std::atomic<int> watched_fd{-1};
std::atomic<std::uint64_t> calls{0};
std::atomic<std::uint64_t> bytes{0};

} // namespace

extern "C" ssize_t __real_write(int fd, const void* buffer, size_t count);

extern "C" ssize_t __wrap_write(int fd, const void* buffer, size_t count) {
    const ssize_t n = __real_write(fd, buffer, count);
    if (fd == watched_fd.load(std::memory_order_relaxed)) {
        calls.fetch_add(1, std::memory_order_relaxed);
        if (n > 0)
            bytes.fetch_add(static_cast<std::uint64_t>(n), std::memory_order_relaxed);
    }
    return n;
}

namespace bench {

void count_writes_on(int fd) {
    watched_fd.store(fd);
    calls.store(0);
    bytes.store(0);
}

WriteCount writes_so_far() {
    return WriteCount{calls.load(), bytes.load()};
}

} // namespace bench
