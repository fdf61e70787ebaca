#include "console/line_input.hpp"
#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "console/text_layer.hpp"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

using namespace console;

namespace {

struct LineInput : ::testing::Test {
    MemoryConsole con;
    std::array<char, 64> name{};
    void SetUp() override {
        clrscr();
        gotoxy(34, 22);
    }
};

TEST_F(LineInput, EchoesAfterTheCursorAndEndsAtEnter) {
    con.platform.push_keys("Ana\r");
    console::gets(name);
    EXPECT_STREQ(name.data(), "Ana");
    EXPECT_EQ(con.screen.text(34, 22, 4), "Ana ");
    EXPECT_EQ(con.screen.cursor(), (Coord{0, 22})); // next line
}

TEST_F(LineInput, LineFeedEndsTheLineToo) {
    con.platform.push_keys("Bo\n");
    console::gets(name);
    EXPECT_STREQ(name.data(), "Bo");
}

TEST_F(LineInput, BackspaceEditsTheTextAndTheEcho) {
    con.platform.push_keys("Anx\b");
    con.platform.push_key(127);
    con.platform.push_keys("na\r");
    console::gets(name);
    EXPECT_STREQ(name.data(), "Ana");
    EXPECT_EQ(con.screen.text(34, 22, 4), "Ana ");
}

TEST_F(LineInput, BackspaceOnAnEmptyLineDoesNothing) {
    con.platform.push_keys("\b\bZ\r");
    console::gets(name);
    EXPECT_STREQ(name.data(), "Z");
    EXPECT_EQ(con.screen.at(33, 22).ch, ' ');
    EXPECT_EQ(con.screen.at(34, 22).ch, 'Z');
}

TEST_F(LineInput, ANameIsCutToSixtyThreeBytesAndTheRestOfTheLineIsDropped) {
    const std::string typed(100, 'k');
    con.platform.push_keys(typed + "\rnext");
    console::gets(name);
    EXPECT_EQ(std::string(name.data()), std::string(63, 'k'));
    EXPECT_EQ(name[63], '\0');
    EXPECT_EQ(con.screen.at(34 + 62 - 80, 23).ch, 'k'); // the 63rd byte, wrapped
    EXPECT_EQ(con.screen.at(34 + 63 - 80, 23).ch, ' ');
    EXPECT_EQ(con.platform.keys_left(), 4u);
}

TEST_F(LineInput, ControlCodesAndTwoCodeKeysNeverEnterTheName) {
    con.platform.push_key(27);
    con.platform.push_key(1);
    con.platform.push_key(224);
    con.platform.push_key('H'); // an arrow key's second code
    con.platform.push_key(0);
    con.platform.push_key(';'); // F1's second code
    con.platform.push_keys("ok\t\r");
    console::gets(name);
    EXPECT_STREQ(name.data(), "ok");
}

TEST_F(LineInput, AccentedBytesAreKept) {
    con.platform.push_key(0x82); // e acute in the console's code page
    con.platform.push_keys("va\r");
    console::gets(name);
    EXPECT_EQ(std::string(name.data()), "\x82va");
    EXPECT_EQ(con.screen.at(34, 22).ch, 0x82);
}

TEST_F(LineInput, ATinyBufferStillGetsItsZero) {
    std::array<char, 1> tiny{'x'};
    con.platform.push_keys("abc\r");
    console::gets(tiny);
    EXPECT_EQ(tiny[0], '\0');
}

TEST(ScanfInteger, ReadsTheWayPercentIDoes) {
    EXPECT_EQ(parse_int_like_scanf("1abc"), 1);
    EXPECT_EQ(parse_int_like_scanf("0x1"), 1);
    EXPECT_EQ(parse_int_like_scanf("0X1f"), 31);
    EXPECT_EQ(parse_int_like_scanf("01"), 1);
    EXPECT_EQ(parse_int_like_scanf("010"), 8);
    EXPECT_EQ(parse_int_like_scanf("09"), 0); // octal stops at 9
    EXPECT_EQ(parse_int_like_scanf("0x"), 0);
    EXPECT_EQ(parse_int_like_scanf("  -12 "), -12);
    EXPECT_EQ(parse_int_like_scanf("+7"), 7);
    EXPECT_EQ(parse_int_like_scanf(""), std::nullopt);
    EXPECT_EQ(parse_int_like_scanf("abc"), std::nullopt);
    EXPECT_EQ(parse_int_like_scanf("-"), std::nullopt);
    EXPECT_EQ(parse_int_like_scanf(" x1"), std::nullopt);
}

TEST(ScanfInteger, OverflowSaturatesInsteadOfWrapping) {
    EXPECT_EQ(parse_int_like_scanf("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(parse_int_like_scanf("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(parse_int_like_scanf("2147483647"), INT_MAX);
    EXPECT_EQ(parse_int_like_scanf("-2147483648"), INT_MIN);
    EXPECT_EQ(parse_int_like_scanf("0xffffffffffffffffffff"), INT_MAX);
}

TEST_F(LineInput, ScanfKeepsTheValueWhenNoNumberIsTypedAndDropsTheLine) {
    int answer = 0;
    con.platform.push_keys("\rAna\r");
    scanf_i(answer);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(con.platform.keys_left(), 4u); // the next line is untouched
    con.platform.push_keys("1abc\r");
    std::array<char, 64> next{};
    console::gets(next);
    EXPECT_STREQ(next.data(), "Ana");
    scanf_i(answer);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(con.platform.keys_left(), 0u);
}

} // namespace
