#pragma once
// The text layer's screen buffer on a Windows console. Bytes are shown
// through the shared glyph table as wide characters: the picture is the same
// whatever the console's code page, and no byte is ever taken for a control
// code (7 does not ring, 10 and 13 do not move the cursor).

#include "console/palette.hpp"
#include "console/screen_buffer.hpp"

namespace console {

class WindowsScreen : public ScreenBuffer {
  public:
    // Without a handle every operation asks for standard output's anew, so
    // the buffer drawn on is always the one standard output names now.
    // Attributes are given to the console as the palette shows them.
    explicit WindowsScreen(void* handle = nullptr, Palette palette = Palette::console)
        : handle_(handle), palette_(palette) {}

    BufferInfo info() const override;
    void fill_attribute(std::uint16_t attribute, int count, Coord from) override;
    void fill_character(std::uint8_t ch, int count, Coord from) override;
    bool set_cursor(Coord to) override;
    void set_attribute(std::uint16_t attribute) override;
    void write(std::string_view bytes) override;

  private:
    void* handle() const;

    void* handle_;
    Palette palette_;
};

} // namespace console
