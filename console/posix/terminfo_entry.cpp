#include "console/posix/terminfo_entry.hpp"

#include <term.h>
#include <unistd.h>

namespace console::posix {
namespace {

// tigetstr's answer for absent (nullptr) and for not a string ((char*)-1)
// alike: nothing.
std::string string_capability(const char* name) {
    const char* value = tigetstr(name);
    if (value == nullptr || value == reinterpret_cast<const char*>(-1))
        return {};
    return value;
}

} // namespace

std::optional<TerminfoEntry> read_terminfo(const char* term) {
    int error = 0;
    // With an error slot setupterm reports instead of printing and exiting;
    // it reads the entry and writes nothing.
    if (term == nullptr || setupterm(term, STDOUT_FILENO, &error) != 0) // 0: OK, without curses.h
        return std::nullopt;
    TerminfoEntry entry;
    entry.bce = tigetflag("bce") > 0;
    const int colours = tigetnum("colors");
    entry.colours = colours > 0 ? colours : 0;
    entry.acsc = string_capability("acsc");
    entry.smacs = string_capability("smacs");
    entry.rmacs = string_capability("rmacs");
    entry.enacs = string_capability("enacs");
    del_curterm(cur_term);
    return entry;
}

} // namespace console::posix
