// The program's lines in a terminal whose charset is not UTF-8: each
// character the charset has, a stand-in for the rest, and nothing lost or
// doubled around a byte that is not UTF-8.
#include "console/posix/locale_text.hpp"

#include <gtest/gtest.h>

namespace {

using console::posix::in_codeset;

TEST(LocaleText, KeepsWhatTheCharsetHasAndStandsInForTheRest) {
    EXPECT_EQ(in_codeset("Z\xc3\xa9: 135 pontos", "ISO-8859-1"), "Z\xe9: 135 pontos");
    EXPECT_EQ(in_codeset("Z\xc3\xa9 \xe2\x98\xbc!", "ISO-8859-1"), "Z\xe9 ?!");
    // In the C locale the C library has no spelling of an e with an accent.
    EXPECT_EQ(in_codeset("Z\xc3\xa9: 135 pontos", "ANSI_X3.4-1968"), "Z?: 135 pontos");
    // A long text goes through whole, past any buffer's end.
    const std::string many(5000, 'a');
    EXPECT_EQ(in_codeset(many + "\xc3\xa9", "ISO-8859-1"), many + "\xe9");
}

TEST(LocaleText, ABadByteIsOneStandInAndTheRestFollows) {
    EXPECT_EQ(in_codeset("a\xff"
                         "b\xc3"
                         "c",
                         "ISO-8859-1"),
              "a?b?c");
    EXPECT_EQ(in_codeset("end \xc3", "ISO-8859-1"), "end ?");
    EXPECT_EQ(in_codeset("cut \xe2\x98 short \xc3\xa9", "ISO-8859-1"), "cut ? short \xe9");
}

TEST(LocaleText, UTF8AndAnUnknownCharsetLeaveTheTextAsItIs) {
    const std::string text = "Z\xc3\xa9 \xe2\x98\xbc";
    EXPECT_EQ(in_codeset(text, "UTF-8"), text);
    EXPECT_EQ(in_codeset(text, "NO-SUCH-CHARSET"), text);
    EXPECT_EQ(in_codeset(text, nullptr), text);
}

} // namespace
