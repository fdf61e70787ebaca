// A board cursor as a stranger sends it in ?after=: reading it may refuse
// the text but never crash or trip a sanitizer, and what it takes is only
// what the board writes: written again, the same text.
#include "server/board_cursor.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto cursor = board::read_cursor(text);
    if (cursor && board::cursor_text(*cursor) != text) {
        std::fprintf(stderr, "fault: a cursor read from text the board would not write\n");
        std::abort();
    }
    return 0;
}
