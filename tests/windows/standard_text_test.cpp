#include "console/standard_text.hpp"
#include "test_console_buffer.hpp"

namespace {

using StandardTextTest = console_test::ConsoleBufferTest;

TEST_F(StandardTextTest, NamesReachTheConsoleAsTypedWhateverItsCodePage) {
    const UINT page = GetConsoleOutputCP();
    SetConsoleOutputCP(437);
    const HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, buffer());
    {
        console::StandardText out(console::Standard::output);
        out << "Bía: 48 pontos\n"
            << "Zoë\n"
            << std::flush;
        EXPECT_TRUE(out);
    }
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    SetConsoleOutputCP(page);
    EXPECT_EQ(chars(0, 0, 14), L"B\u00eda: 48 pontos");
    EXPECT_EQ(chars(0, 1, 3), L"Zo\u00eb");
    EXPECT_EQ(cursor(), (console::Coord{0, 2}));
}

} // namespace
