#pragma once
// What the terminal the program runs on can do, from its terminfo entry and
// the locale's charset, for the renderer and the key decoder.

#include "console/ansi/terminal_traits.hpp"
#include "console/posix/locale_charset.hpp"
#include "console/posix/terminfo_entry.hpp"

#include <optional>

namespace console::posix {

// An unknown entry keeps today's colours but writes blanks rather than
// erase them: without background colour erase that is the only safe way,
// and with it merely longer.
ansi::TerminalTraits terminal_traits(const std::optional<TerminfoEntry>& entry,
                                     const LocaleCharset& charset);

} // namespace console::posix
