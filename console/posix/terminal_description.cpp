#include "console/posix/terminal_description.hpp"

namespace console::posix {

ansi::TerminalTraits terminal_traits(const std::optional<TerminfoEntry>& entry,
                                     const LocaleCharset& charset) {
    ansi::TerminalTraits traits;
    traits.bce = entry && entry->bce;
    if (entry)
        traits.colours = entry->colours;
    if (charset.utf8)
        return traits;
    // The line-drawing set is only of use with a way into and out of it.
    const bool line_drawing = entry && !entry->smacs.empty() && !entry->rmacs.empty();
    traits.glyphs = ansi::glyph_table(charset.encode, line_drawing ? entry->acsc : "");
    if (line_drawing) {
        traits.line_drawing_on = entry->smacs;
        traits.line_drawing_off = entry->rmacs;
        traits.line_drawing_enable = entry->enacs;
    }
    traits.typed_high_bytes = charset.typed_high_bytes;
    return traits;
}

} // namespace console::posix
