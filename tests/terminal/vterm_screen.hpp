#pragma once
// A terminal emulator (libvterm) to feed the backend's output to, and read
// back what a player would see, cell by cell.

#include <cstdint>
#include <string>
#include <string_view>

struct VTerm;
struct VTermScreen;

namespace terminal_test {

struct SeenCell {
    char32_t ch = U' ';  // a blank for a cell never written or erased
    int foreground = -1; // palette index 0..15; -1 the terminal's default
    int background = -1;
    int width = 1;
};

class VtermScreen {
  public:
    VtermScreen(int columns, int rows);
    ~VtermScreen();
    VtermScreen(const VtermScreen&) = delete;
    VtermScreen& operator=(const VtermScreen&) = delete;

    void feed(std::string_view bytes);

    SeenCell cell(int x, int y) const; // 0-based
    // A row as UTF-8, erased cells as blanks.
    std::string row(int y) const;
    // Whether any row holds this text.
    bool shows(std::string_view text) const;

    int cursor_x() const;
    int cursor_y() const;
    bool cursor_visible() const { return cursor_visible_; }
    bool alternate_screen() const { return altscreen_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // For libvterm's callback.
    void note_prop(int prop, bool value);

  private:
    int columns_;
    int rows_;
    VTerm* vt_;
    VTermScreen* screen_;
    bool cursor_visible_ = true;
    bool altscreen_ = false;
};

} // namespace terminal_test
