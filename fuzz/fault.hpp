#pragma once
// How a fuzz target says that a property failed: a line naming it, then an
// abort, which libFuzzer keeps as a crash with its input.

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fault(const char* what) {
    std::fprintf(stderr, "fault: %s\n", what);
    std::abort();
}
