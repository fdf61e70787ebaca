#include "app/scores/location.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Location, TheOverrideThenTheDataDirectoryThenTheHome) {
    EXPECT_EQ(scores::posix_scores_path("/tmp/t", "/x", "/home/ana"), "/tmp/t");
    EXPECT_EQ(scores::posix_scores_path("", "/x", "/home/ana"), "/x/orbitrix/scores");
    EXPECT_EQ(scores::posix_scores_path(std::nullopt, "rel/x", "/home/ana"),
              "/home/ana/.local/share/orbitrix/scores");
    EXPECT_EQ(scores::posix_scores_path(std::nullopt, std::nullopt, std::nullopt), std::nullopt);
    EXPECT_EQ(scores::windows_scores_path(std::nullopt, "C:\\Users\\Ana\\AppData\\Local"),
              "C:\\Users\\Ana\\AppData\\Local\\Orbitrix\\scores");
    EXPECT_EQ(scores::windows_scores_path("D:\\s", "C:\\L"), "D:\\s");
    EXPECT_EQ(scores::windows_scores_path(std::nullopt, std::nullopt), std::nullopt);
}

} // namespace
