#include "console/standard_text.hpp"

#include <cstdio>

namespace console {

bool write_standard(Standard to, std::string_view utf8) {
    std::FILE* file = to == Standard::output ? stdout : stderr;
    return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size() && std::fflush(file) == 0;
}

} // namespace console
