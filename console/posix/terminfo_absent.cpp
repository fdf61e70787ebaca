#include "console/posix/terminfo_entry.hpp"

namespace console::posix {

// Built without terminfo: every terminal is one whose entry is unknown.
std::optional<TerminfoEntry> read_terminfo(const char*) {
    return std::nullopt;
}

} // namespace console::posix
