// Placeholder until the terminal backend lands.
#include "console/memory_console.hpp"
#include "console/native.hpp"

#include <cstdio>

namespace console {
int run_on_native_console(int (*)()) {
    std::fputs("orbitrix: the terminal backend is not built yet\n", stderr);
    return 1;
}
} // namespace console
