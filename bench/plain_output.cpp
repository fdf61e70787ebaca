#include "plain_output.hpp"

#include "console/glyphs.hpp"

#include <string>

namespace bench {
namespace {

std::size_t cup_length(console::Coord at) {
    return std::string("\x1b[" + std::to_string(at.y + 1) + ";" + std::to_string(at.x + 1) + "H")
        .size();
}

} // namespace

void PlainOutput::fill_attribute(std::uint16_t attribute, int count, console::Coord from) {
    // Goes with the blanks of the same clear, in their write.
    screen_.fill_attribute(attribute, count, from);
}

void PlainOutput::fill_character(std::uint8_t ch, int count, console::Coord from) {
    // A run of blanks: a cursor placement and an erase of that many cells.
    add(cup_length(from) + std::string("\x1b[" + std::to_string(count) + "X").size());
    screen_.fill_character(ch, count, from);
}

bool PlainOutput::set_cursor(console::Coord to) {
    add(cup_length(to));
    return screen_.set_cursor(to);
}

void PlainOutput::set_attribute(std::uint16_t attribute) {
    const console::ansi::Pen pen = console::ansi::pen_of(attribute);
    std::string sgr = console::ansi::sgr_change(pen_ ? &*pen_ : nullptr, pen);
    // Setting the colour in force is still a call, and still sent.
    if (sgr.empty())
        sgr = "\x1b[" + std::to_string(console::ansi::sgr_foreground(pen.foreground)) + "m";
    add(sgr.size());
    pen_ = pen;
    screen_.set_attribute(attribute);
}

void PlainOutput::write(std::string_view bytes) {
    std::size_t length = 0;
    for (const char b : bytes)
        length += console::glyph_utf8(static_cast<std::uint8_t>(b)).size();
    add(length);
    screen_.write(bytes);
}

} // namespace bench
