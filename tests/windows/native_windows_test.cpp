#include "console/current.hpp"
#include "console/native.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"
#include "test_console_buffer.hpp"

namespace {

// Points standard output somewhere else for one test.
class StandardOutput {
  public:
    explicit StandardOutput(HANDLE to) : saved_(GetStdHandle(STD_OUTPUT_HANDLE)) {
        SetStdHandle(STD_OUTPUT_HANDLE, to);
    }
    ~StandardOutput() { SetStdHandle(STD_OUTPUT_HANDLE, saved_); }
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

  private:
    HANDLE saved_;
};

int sessions_run = 0;

console::NativeOutcome run(int (*session)()) {
    return console::run_on_native_console(
        {}, [session](console::ScreenBuffer& screen, console::Platform& platform) {
            const console::Installation installation(screen, platform);
            return session();
        });
}

int draw_in_yellow_with_the_cursor_hidden() {
    ++sessions_run;
    console::clrscr();
    console::SetConsoleCursorInfo(100, false);
    console::textcolor(14);
    console::gotoxy(3, 2);
    console::printf("%c", 190);
    return 100;
}

int end_early() {
    ++sessions_run;
    console::SetConsoleCursorInfo(100, false);
    console::textcolor(12);
    throw console::SessionEnded{100};
}

struct NativeRunner : console_test::ConsoleBufferTest {
    void SetUp() override {
        ConsoleBufferTest::SetUp();
        sessions_run = 0;
    }
};

CONSOLE_CURSOR_INFO cursor_info(HANDLE buffer) {
    CONSOLE_CURSOR_INFO info{};
    GetConsoleCursorInfo(buffer, &info);
    return info;
}

TEST(NativeRunnerWithoutConsole, RefusesWhenStandardOutputIsNotAConsole) {
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(nul, INVALID_HANDLE_VALUE);
    sessions_run = 0;
    {
        const StandardOutput redirected(nul);
        const console::NativeOutcome outcome = run(draw_in_yellow_with_the_cursor_hidden);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.problem, console::NativeProblem::no_console);
        EXPECT_FALSE(outcome.detail.empty());
    }
    EXPECT_EQ(sessions_run, 0);
    CloseHandle(nul);
}

TEST_F(NativeRunner, DrawsOnStandardOutputAndGivesTheConsoleBack) {
    const CONSOLE_CURSOR_INFO shown{25, TRUE};
    SetConsoleCursorInfo(buffer(), &shown);
    SetConsoleTextAttribute(buffer(), 0x1f);
    {
        const StandardOutput to_buffer(buffer());
        EXPECT_EQ(run(draw_in_yellow_with_the_cursor_hidden).status, 100);
    }
    EXPECT_EQ(sessions_run, 1);
    EXPECT_EQ(char_at(2, 1), L'\u00A5');
    EXPECT_EQ(attr_at(2, 1), 14);
    EXPECT_EQ(attr_at(0, 0), 7) << "cleared in the layer's colours";
    EXPECT_EQ(info().wAttributes, 0x1f);
    EXPECT_EQ(cursor_info(buffer()).dwSize, 25u);
    EXPECT_TRUE(cursor_info(buffer()).bVisible);
    // What is printed next goes below the last screen, not over it.
    // (The window then follows the cursor.)
    EXPECT_EQ(cursor().x, 0);
    EXPECT_EQ(cursor().y, 50) << "the row below the buffer's 50 visible rows";
}

TEST_F(NativeRunner, SessionEndedEarlyGivesItsStatusAndTheConsoleBack) {
    const CONSOLE_CURSOR_INFO shown{25, TRUE};
    SetConsoleCursorInfo(buffer(), &shown);
    {
        const StandardOutput to_buffer(buffer());
        EXPECT_EQ(run(end_early).status, 100);
    }
    EXPECT_EQ(sessions_run, 1);
    EXPECT_EQ(info().wAttributes, 7);
    EXPECT_TRUE(cursor_info(buffer()).bVisible);
}

} // namespace
