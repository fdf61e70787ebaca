#pragma once
// How each byte the game writes looks: the IBM PC code page 850, with the
// pictographs of the PC character set for bytes 1 to 31. Every byte is one
// glyph of one cell; none is a control code.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace console {

char32_t glyph_unicode(std::uint8_t byte);
// Any character as UTF-8, 1 to 4 bytes.
std::string utf8_of(char32_t c);
// The same glyph as UTF-8, 1 to 3 bytes.
std::string_view glyph_utf8(std::uint8_t byte);
// Text the game holds (a name, one byte a cell) as UTF-8, as it looks.
std::string text_utf8(std::string_view bytes);
// The byte whose glyph is this character, for text typed on a UTF-8
// keyboard: ASCII as it is, the code page's letters and signs as their byte.
std::optional<std::uint8_t> byte_for_unicode(char32_t ch);
// A byte of text the game holds as the one character that stands for it
// alone, as a name is written out: ASCII from the space to '~', and the
// code page's letters and signs. Nothing for a control byte, whose
// pictograph the signs share (0x14 and 0xF4 both look like a pilcrow), nor
// for 0xF0, shown as a plain hyphen.
std::optional<char32_t> text_character(std::uint8_t byte);

} // namespace console
