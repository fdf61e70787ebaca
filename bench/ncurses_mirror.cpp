#include "ncurses_mirror.hpp"

#include "console/ansi/ansi_colours.hpp"
#include "console/glyphs.hpp"
#include "vterm_screen.hpp"

#include <ncursesw/curses.h>

#include <array>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace bench {
namespace {

// Pair 0 is ncurses' own white on black, the colours it clears the screen
// to; every other pair of the sixteen colours gets a number of its own.
int pair_of(std::uint8_t attr) {
    const console::ansi::Pen pen = console::ansi::pen_of(attr);
    const int fg = console::ansi::ansi_index(pen.foreground);
    const int bg = console::ansi::ansi_index(pen.background);
    if (fg == COLOR_WHITE && bg == COLOR_BLACK)
        return 0;
    return 1 + bg * 16 + fg;
}

std::string mismatch(const terminal_test::VtermScreen& vt, const console::ansi::Grid& wanted) {
    for (int y = 0; y < wanted.height; ++y)
        for (int x = 0; x < wanted.width; ++x) {
            const console::ansi::TermCell want = wanted.at(x, y);
            const console::ansi::Pen pen = console::ansi::pen_of(want.attr);
            const auto seen = vt.cell(x, y);
            if (seen.ch != console::glyph_unicode(want.ch) ||
                seen.foreground != console::ansi::ansi_index(pen.foreground) ||
                seen.background != console::ansi::ansi_index(pen.background)) {
                char out[160];
                std::snprintf(out, sizeof out,
                              "cell %d,%d: byte %d attr %d, seen U+%04X fg %d bg %d", x, y, want.ch,
                              want.attr, static_cast<unsigned>(seen.ch), seen.foreground,
                              seen.background);
                return out;
            }
        }
    return {};
}

} // namespace

struct NcursesMirror::State {
    int pipe_fds[2] = {-1, -1};
    FILE* out = nullptr;
    FILE* in = nullptr;
    SCREEN* screen = nullptr;
    terminal_test::VtermScreen vt;
    std::string chunk = std::string(1 << 16, '\0');

    State(int columns, int rows) : vt(columns, rows) {}

    // All that ncurses has written so far: the pipe holds far more than
    // one refresh, so it never blocks.
    std::size_t take_output() {
        std::size_t total = 0;
        for (;;) {
            const ssize_t n = ::read(pipe_fds[0], chunk.data(), chunk.size());
            if (n > 0) {
                vt.feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
                total += static_cast<std::size_t>(n);
            } else if (n == 0 || errno != EINTR) {
                return total;
            }
        }
    }
};

NcursesMirror::NcursesMirror(int columns, int rows, const char* term)
    : state_(std::make_unique<State>(columns, rows)) {
    State& s = *state_;
    // ncursesw writes UTF-8 only in a UTF-8 locale.
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
        throw std::runtime_error("no C.UTF-8 locale for ncurses");
    if (::pipe2(s.pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("no pipe for ncurses");
    ::fcntl(s.pipe_fds[1], F_SETPIPE_SZ, 1 << 20);
    s.out = ::fdopen(s.pipe_fds[1], "w");
    s.in = std::fopen("/dev/null", "r");
    // The size, as a terminal would tell it.
    ::setenv("COLUMNS", std::to_string(columns).c_str(), 1);
    ::setenv("LINES", std::to_string(rows).c_str(), 1);
    s.screen = newterm(term, s.out, s.in);
    ::unsetenv("COLUMNS");
    ::unsetenv("LINES");
    if (s.screen == nullptr || LINES != rows || COLS != columns)
        throw std::runtime_error("ncurses did not start at the size asked for");
    start_color();
    for (int bg = 0; bg < 16; ++bg)
        for (int fg = 0; fg < 16; ++fg)
            if (fg != COLOR_WHITE || bg != COLOR_BLACK)
                init_pair(static_cast<short>(1 + bg * 16 + fg), static_cast<short>(fg),
                          static_cast<short>(bg));
    // As the game, with the cursor hidden and left where the drawing ends.
    curs_set(0);
    leaveok(stdscr, TRUE);
    scrollok(stdscr, FALSE);
    s.take_output();
}

NcursesMirror::~NcursesMirror() {
    State& s = *state_;
    if (s.screen != nullptr) {
        endwin();
        delscreen(s.screen);
    }
    if (s.out != nullptr)
        std::fclose(s.out); // closes the pipe's write end
    if (s.in != nullptr)
        std::fclose(s.in);
    if (s.pipe_fds[0] >= 0)
        ::close(s.pipe_fds[0]);
}

std::size_t NcursesMirror::next(const console::ansi::Grid& wanted) {
    State& s = *state_;
    for (int y = 0; y < wanted.height; ++y)
        for (int x = 0; x < wanted.width; ++x) {
            const console::ansi::TermCell cell = wanted.at(x, y);
            const wchar_t glyph[2] = {static_cast<wchar_t>(console::glyph_unicode(cell.ch)), 0};
            cchar_t c{};
            setcchar(&c, glyph, A_NORMAL, static_cast<short>(pair_of(cell.attr)), nullptr);
            // The bottom-right cell too: ncurses finds its own way to it.
            mvwadd_wch(stdscr, y, x, &c);
        }
    wrefresh(stdscr);
    std::fflush(s.out);
    const std::size_t bytes = s.take_output();
    if (const std::string bad = mismatch(s.vt, wanted); !bad.empty())
        throw std::runtime_error("ncurses' output shows another screen: " + bad);
    return bytes;
}

} // namespace bench
