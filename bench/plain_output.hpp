#pragma once
// What a console layer that writes every call straight to the terminal
// would send: each cursor placement as a CUP sequence, each colour setting
// as an SGR, each printed byte as its glyph, each in a write() of its own.
// Wraps the screen the game draws on and tallies as the game draws.

#include "console/ansi/ansi_colours.hpp"
#include "console/screen_buffer.hpp"

#include <cstdint>
#include <optional>

namespace bench {

struct PlainTally {
    std::uint64_t bytes = 0;
    std::uint64_t writes = 0;
};

class PlainOutput : public console::ScreenBuffer {
  public:
    explicit PlainOutput(console::ScreenBuffer& screen) : screen_(screen) {}

    PlainTally tally() const { return tally_; }

    console::BufferInfo info() const override { return screen_.info(); }
    void fill_attribute(std::uint16_t attribute, int count, console::Coord from) override;
    void fill_character(std::uint8_t ch, int count, console::Coord from) override;
    bool set_cursor(console::Coord to) override;
    void set_attribute(std::uint16_t attribute) override;
    void write(std::string_view bytes) override;

  private:
    void add(std::size_t bytes) {
        tally_.bytes += bytes;
        ++tally_.writes;
    }

    console::ScreenBuffer& screen_;
    PlainTally tally_;
    std::optional<console::ansi::Pen> pen_;
};

} // namespace bench
