#pragma once
// The character set of the locale the player runs in, which is what the
// terminal shows and what the keyboard types.

#include "console/ansi/glyph_table.hpp"

#include <vector>

namespace console::posix {

struct LocaleCharset {
    bool utf8 = true;
    // One cell's bytes for a character, when the charset has it.
    ansi::CharsetEncoder encode;
    // In a one-byte charset, the character each byte from 128 up types
    // (0: none); empty in UTF-8.
    std::vector<char32_t> typed_high_bytes;
};

// Takes the character type from the environment (LC_ALL, LC_CTYPE, LANG)
// and names its charset as the C library does ("UTF-8", "ISO-8859-1").
const char* locale_codeset();

// The same, read into what the terminal backend needs of it.
LocaleCharset locale_charset();

} // namespace console::posix
