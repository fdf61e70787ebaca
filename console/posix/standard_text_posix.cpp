#include "console/standard_text.hpp"

#include "console/posix/locale_charset.hpp"
#include "console/posix/locale_text.hpp"

#include <cstdio>
#include <unistd.h>

namespace console {

bool write_standard(Standard to, std::string_view utf8) {
    std::FILE* file = to == Standard::output ? stdout : stderr;
    // A terminal shows the locale's charset, as the session's screens do; a
    // file or a pipe keeps the UTF-8 its reader most likely expects.
    std::string text;
    if (::isatty(::fileno(file)) == 1) {
        text = posix::in_codeset(utf8, posix::locale_codeset());
        utf8 = text;
    }
    return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size() && std::fflush(file) == 0;
}

} // namespace console
