// What is left of a request's Accept-Encoding once brotli is taken out.
#include "server/accept_encoding.hpp"

#include <gtest/gtest.h>

namespace {

using board::without_brotli;

TEST(WithoutBrotli, KeepsEveryOtherCodingAndItsWeight) {
    // What Chromium and Firefox send.
    EXPECT_EQ(without_brotli("gzip, deflate, br"), "gzip, deflate");
    EXPECT_EQ(without_brotli("gzip, deflate, br, zstd"), "gzip, deflate, zstd");
    EXPECT_EQ(without_brotli("br;q=1.0, gzip;q=0.8, *;q=0.1"), "gzip;q=0.8, *;q=0.1");
    EXPECT_EQ(without_brotli("gzip"), "gzip");
    EXPECT_EQ(without_brotli("identity"), "identity");
}

TEST(WithoutBrotli, LeavesNoTwoLettersHttplibWouldTakeForIt) {
    for (const char* value :
         {"br", "BR", " br ", "br,br", "x-br, gzip", "gzip,Br;q=0.5", ",,br,"}) {
        const std::string left = without_brotli(value);
        EXPECT_EQ(left.find("br"), std::string::npos) << value;
        EXPECT_EQ(left.find("BR"), std::string::npos) << value;
        EXPECT_EQ(left.find("Br"), std::string::npos) << value;
    }
    EXPECT_EQ(without_brotli("x-br, gzip"), "gzip");
    EXPECT_EQ(without_brotli(""), "");
}

} // namespace
