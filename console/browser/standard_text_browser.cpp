#include "console/standard_text.hpp"

#include <cstdio>

namespace console {

// The page shows the program's lines as UTF-8, whatever the locale says, so
// they go out as they are: no charset to convert to, and none of the C
// library's conversion tables in the page's download.
bool write_standard(Standard to, std::string_view utf8) {
    std::FILE* file = to == Standard::output ? stdout : stderr;
    return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size() && std::fflush(file) == 0;
}

} // namespace console
