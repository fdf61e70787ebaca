// The backend on a pseudo-terminal, read back through a terminal emulator:
// what the player sees and types, signals, resizes, a vanished terminal.
#include "console/ansi/ansi_colours.hpp"
#include "console/current.hpp"
#include "console/glyphs.hpp"
#include "console/native.hpp"
#include "console/posix/terminal_platform.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "game/exigencias.hpp"

#include "pty_terminal.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using namespace console::posix;
using namespace console::ansi;
namespace ansi = console::ansi;
using terminal_test::PtyTerminal;
using terminal_test::VtermScreen;

termios modes_of(int fd) {
    termios t{};
    tcgetattr(fd, &t);
    return t;
}

// The backend as the program sets it up, on a pseudo-terminal.
struct Backend {
    explicit Backend(int columns = 80, int rows = 50) : pty(columns, rows) {}
    PtyTerminal pty;
    termios found = modes_of(pty.tty());
    SignalWatch signals;
    std::optional<RawTerminal> terminal{std::in_place, pty.tty(), pty.tty(), found};
    console::CellScreen model;
    std::optional<TerminalPlatform> platform{
        std::in_place, *terminal, signals, model, game::exigencias_do_console(), false};
    std::optional<console::Installation> installation{std::in_place, model, *platform};

    void end() {
        installation.reset();
        platform.reset();
        terminal.reset();
    }
};

int cells_unlike_model(const VtermScreen& vt, const console::CellScreen& model) {
    int mismatches = 0;
    for (int y = 0; y < vt.rows(); ++y)
        for (int x = 0; x < vt.columns(); ++x) {
            const console::Cell c = model.cell(x, y);
            const Pen pen = pen_of(c.attr);
            const auto seen = vt.cell(x, y);
            if (seen.ch != console::glyph_unicode(c.ch) ||
                seen.foreground != ansi::ansi_index(pen.foreground) ||
                seen.background != ansi::ansi_index(pen.background))
                ++mismatches;
        }
    return mismatches;
}

// The frame arrives in several reads; waits until all of it is there.
void expect_shows_model(const PtyTerminal& pty, const console::CellScreen& model) {
    pty.wait_for([&](const std::string&) { return cells_unlike_model(*pty.screen(), model) == 0; });
    EXPECT_EQ(cells_unlike_model(*pty.screen(), model), 0);
}

void draw_menu() {
    console::clrscr();
    console::textcolor(2);
    console::gotoxy(15, 20);
    console::printf("1 - Jogar");
    console::gotoxy(15, 22);
    console::printf("2 - Sair");
    console::textcolor(15);
    console::gotoxy(1, 1);
    console::printf("%c%c%c%c", 201, 205, 187, 190);
}

TEST(BackendOnAPty, DrawsAtWaitPointsOnly) {
    Backend b;
    const std::size_t set_up = b.pty.output().size();
    b.pty.wait_for([&](const std::string& out) { return out.size() >= set_up; });
    draw_menu();
    EXPECT_EQ(console::_kbhit(), 0); // not a wait point
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(b.pty.screen()->shows("1 - Jogar"));

    console::_sleep(1);
    ASSERT_TRUE(b.pty.wait_for_text("2 - Sair"));
    expect_shows_model(b.pty, b.model);
    const auto vt = b.pty.screen();
    EXPECT_EQ(vt->row(0).substr(0, 11), "╔═╗¥");
    EXPECT_EQ(vt->cell(14, 19).foreground, 2);
    EXPECT_TRUE(vt->alternate_screen());
    // Until the game hides it, the cursor is where the game left it.
    EXPECT_TRUE(vt->cursor_visible());
    EXPECT_EQ(vt->cursor_x(), 4);
    EXPECT_EQ(vt->cursor_y(), 0);

    console::SetConsoleCursorInfo(100, false);
    console::gotoxy(80, 50);
    console::printf("Z"); // the bottom-right cell of an 80x50 terminal
    console::Beep(440, 20);
    ASSERT_TRUE(
        b.pty.wait_for([&](const std::string&) { return !b.pty.screen()->cursor_visible(); }));
    expect_shows_model(b.pty, b.model);
    const auto after = b.pty.screen();
    EXPECT_EQ(after->cell(79, 49).ch, U'Z');
    EXPECT_TRUE(after->shows("1 - Jogar")); // nothing scrolled
}

TEST(BackendOnAPty, TheModelIsTheTerminalsSizeAndNeverScrolls) {
    Backend big(100, 60);
    EXPECT_EQ(big.model.window(), (console::Rect{0, 0, 99, 59}));
    EXPECT_GE(big.model.height(), 61);
    console::clrscr();
    console::gotoxy(1, 1);
    console::printf("top");
    console::gotoxy(100, 60);
    console::printf("Z");
    EXPECT_EQ(big.model.text(1, 1, 3), "top");
    console::_sleep(0);
    ASSERT_TRUE(big.pty.wait_for_text("top"));
    ASSERT_TRUE(big.pty.wait_for(
        [&](const std::string&) { return big.pty.screen()->cell(99, 59).ch == U'Z'; }));
    EXPECT_EQ(big.pty.screen()->row(0).substr(0, 3), "top");
}

TEST(BackendOnAPty, KeysArriveAsTheConsoleGivesThem) {
    Backend b;
    b.pty.type("a\x1b[A\xc3\xa9\r\x1bOP");
    const int expected[] = {'a', 224, 72, 130, 13, 0, 59};
    for (const int code : expected)
        EXPECT_EQ(console::_getch(), code);
    b.pty.type("\x1b");
    EXPECT_EQ(console::_getch(), 27); // once nothing follows it
    EXPECT_EQ(console::_kbhit(), 0);
}

TEST(BackendOnAPty, KbhitReadsWaitingKeysWithoutBlocking) {
    Backend b;
    EXPECT_EQ(console::_kbhit(), 0);
    b.pty.type("x");
    int seen = 0;
    for (int i = 0; i < 400 && seen == 0; ++i) {
        seen = console::_kbhit();
        if (seen == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(console::_kbhit(), 1); // takes no key
    EXPECT_EQ(console::_getch(), 'x');
    EXPECT_EQ(console::_kbhit(), 0);
}

TEST(BackendOnAPty, LineInputEchoesAsTyped) {
    Backend b;
    console::clrscr();
    console::gotoxy(15, 22);
    console::printf("Digite Seu Nome -> ");
    b.pty.type("Jo\x7f\xc3\xa3o\r");
    std::array<char, 64> name{};
    console::gets(name);
    EXPECT_STREQ(name.data(), "J\xc6o");
    console::_sleep(0);
    ASSERT_TRUE(b.pty.wait_for_text("Digite Seu Nome -> Jão"));
}

TEST(BackendOnAPty, SignalsEndTheSessionWithStatus100) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        Backend b;
        std::raise(sig);
        try {
            console::_sleep(5000);
            ADD_FAILURE() << "signal " << sig << " did not end the sleep";
        } catch (const console::SessionEnded& e) {
            EXPECT_EQ(e.status, 100);
        }
    }
}

TEST(BackendOnAPty, ASignalDuringAWaitEndsItAtOnce) {
    Backend b;
    std::thread later([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        kill(getpid(), SIGTERM);
    });
    EXPECT_THROW(console::_getch(), console::SessionEnded);
    later.join();
}

TEST(BackendOnAPty, AVanishedTerminalEndsTheSession) {
    Backend b;
    b.pty.hang_up();
    try {
        console::_getch();
        ADD_FAILURE() << "getch returned";
    } catch (const console::SessionEnded& e) {
        EXPECT_EQ(e.status, 100);
    }
    EXPECT_THROW(console::_kbhit(), console::SessionEnded);
}

std::chrono::nanoseconds thread_cpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

TEST(BackendOnAPty, AFloodOfKeysWaitsInTheKernelAndComesOutWholeAndInOrder) {
    Backend b;
    TerminalInput input(*b.terminal, b.signals);
    std::string keys;
    for (int i = 0; i < 10000; ++i)
        keys += static_cast<char>('a' + i % 26);
    // More than the pty holds: the typist blocks until the game reads.
    std::thread typist([&] { b.pty.type(keys); });
    std::string got;
    std::size_t most = 0;
    for (int turn = 0; got.size() < keys.size() && turn < 1'000'000; ++turn) {
        input.drain();
        most = std::max(most, input.keys_waiting());
        if (input.has_key())
            got += static_cast<char>(input.take_key());
    }
    typist.join();
    EXPECT_EQ(most, TerminalInput::max_waiting_keys);
    EXPECT_EQ(got, keys);
}

TEST(BackendOnAPty, AWaitWithTheKeysFullSleepsWithoutSpinningAndStillSeesASignal) {
    Backend b;
    b.pty.type(std::string(1000, 'x'));
    for (int i = 0; i < 50; ++i) {
        console::_kbhit();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    using std::chrono::milliseconds;
    const auto cpu = thread_cpu();
    const auto start = std::chrono::steady_clock::now();
    console::_sleep(200);
    // The clock counts whole milliseconds.
    EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(199));
    EXPECT_LT(thread_cpu() - cpu, milliseconds(50));

    std::thread later([] {
        std::this_thread::sleep_for(milliseconds(50));
        kill(getpid(), SIGTERM);
    });
    const auto signalled = std::chrono::steady_clock::now();
    EXPECT_THROW(console::_sleep(5000), console::SessionEnded);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, milliseconds(1000));
    later.join();
}

TEST(BackendOnAPty, ATooSmallTerminalWaitsWithANoticeUntilItGrows) {
    Backend b(60, 20);
    // The model keeps the game's size, so a clear covers the whole screen.
    EXPECT_EQ(b.model.window(), (console::Rect{0, 0, 79, 48}));
    draw_menu();
    std::thread grow([&] {
        if (b.pty.wait_for_text("60 colunas x 20 linhas") &&
            b.pty.screen()->shows("80 colunas x 49 linhas")) {
            b.pty.type("q"); // typed at the notice: not for the game
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        b.pty.resize(80, 50);
        kill(getpid(), SIGWINCH);
    });
    console::_sleep(1);
    grow.join();
    EXPECT_EQ(b.model.window(), (console::Rect{0, 0, 79, 49}));
    ASSERT_TRUE(b.pty.wait_for_text("2 - Sair"));
    expect_shows_model(b.pty, b.model);
    EXPECT_FALSE(b.pty.screen()->shows("colunas"));
    EXPECT_EQ(console::_kbhit(), 0);
}

TEST(BackendOnAPty, TheFullScreenRequestAsksASmallTerminalToGrowOnlyOnce) {
    Backend b(70, 40);
    const auto ask_full_screen = [] { console::request_full_screen(); };
    ask_full_screen();
    std::thread honour([&] {
        if (b.pty.wait_for([](const std::string& out) {
                return out.find("\x1b[8;49;80t") != std::string::npos;
            }))
            b.pty.resize(80, 49);
        kill(getpid(), SIGWINCH);
    });
    console::_sleep(1);
    honour.join();
    EXPECT_EQ(b.model.window(), (console::Rect{0, 0, 79, 48}));
    // Large enough now: asking again changes nothing.
    const std::size_t before = b.pty.output().size();
    ask_full_screen();
    console::_sleep(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(b.pty.output().find("\x1b[8;", before), std::string::npos);
}

TEST(BackendOnAPty, LeavingPutsTheTerminalBackAsFound) {
    Backend b;
    draw_menu();
    console::_sleep(0);
    b.end();
    const termios now = modes_of(b.pty.tty());
    EXPECT_EQ(now.c_lflag, b.found.c_lflag);
    EXPECT_EQ(now.c_iflag, b.found.c_iflag);
    EXPECT_EQ(now.c_oflag, b.found.c_oflag);
    ASSERT_TRUE(
        b.pty.wait_for([](const std::string& out) { return out.ends_with(leave_sequence()); }));
    const auto vt = b.pty.screen();
    EXPECT_FALSE(vt->alternate_screen());
    EXPECT_TRUE(vt->cursor_visible());
}

} // namespace
