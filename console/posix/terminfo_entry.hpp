#pragma once
// The few capabilities of the terminal's terminfo entry the game uses.

#include <optional>
#include <string>

namespace console::posix {

struct TerminfoEntry {
    bool bce = false;
    int colours = 0; // 0 when the entry names none
    std::string acsc;
    std::string smacs;
    std::string rmacs;
    std::string enacs;
};

// The entry of the terminal named `term`, read without writing anything to
// the terminal; none when no entry is found (or the program was built
// without terminfo).
std::optional<TerminfoEntry> read_terminfo(const char* term);

} // namespace console::posix
