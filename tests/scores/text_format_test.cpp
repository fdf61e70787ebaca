#include "app/scores/text_format.hpp"
#include "common/utc_time.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using scores::Ending;
using scores::Entry;

TEST(TextFormat, HostileNamesComeBackAsTheyWentEachOnOneLineOfSixFields) {
    std::string longest;
    for (int i = 0; i < 21; ++i)
        longest += "\xc3\xa9"
                   "a"; // é a: 63 bytes
    const std::vector<Entry> table{
        {30000, "tab\there", '1', '4', Ending::won, 1796761168},
        {900, "new\nline\r", '2', '3', Ending::left, 0},
        {800, "back\\slash\\t\\", '3', '3', Ending::lost, 253402300799},
        {700, std::string("\x01\x1b[31m\x7f\0z", 9), 0, 224, Ending::lost, 5},
        {600, longest, '4', '4', Ending::lost, 6},
        {500, "", '%', '(', Ending::left, 7},
    };
    const std::string text = scores::to_text(table);

    EXPECT_TRUE(text.starts_with("orbitrix scores 1\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 6 * 5);
    EXPECT_NE(text.find("30000\ttab\\there\t49\t52\twon\t2026-12-08T20:19:28Z\n"),
              std::string::npos);
    const scores::Parsed parsed = scores::from_text(text);
    EXPECT_FALSE(parsed.flaw);
    EXPECT_EQ(parsed.table, table);
}

TEST(TextFormat, TheFirstLineNotUnderstoodIsNamed) {
    const std::string header = "orbitrix scores 1\n";
    const std::string good = "10\tAna\t49\t49\tlost\t2026-12-08T20:59:28Z\n";
    const std::pair<std::string, int> broken[] = {
        {"", 1},
        {"orbitrix scores\n" + good, 1},
        {header + good + "10\tAna\t49\t49\tlost\n", 3},
        {header + good + "10\tAna\t49\t49\tlost\t2026-12-08T20:59:28Z\textra\n", 3},
        {header + "1O\tAna\t49\t49\tlost\t2026-12-08T20:59:28Z\n", 2},
        {header + "-5\tAna\t49\t49\tlost\t2026-12-08T20:59:28Z\n", 2},
        {header + "10\tA\\q\t49\t49\tlost\t2026-12-08T20:59:28Z\n", 2},
        {header + "10\tA\\\t49\t49\tlost\t2026-12-08T20:59:28Z\n", 2},
        {header + "10\tA\\x4\t49\t49\tlost\t2026-12-08T20:59:28Z\n", 2},
        {header + "10\tA\rna\t49\t49\tlost\t2026-12-08T20:59:28Z\n", 2},
        {header + "10\tAna\t49\t49\tquit\t2026-12-08T20:59:28Z\n", 2},
        {header + "10\tAna\t49\t49\tlost\t2026-02-30T20:59:28Z\n", 2},
        {header + "10\tAna\t49\t49\tlost\t2026-12-08 20:59:28\n", 2},
        {header + good + "\n" + good, 3},
    };
    for (const auto& [text, line] : broken) {
        const scores::Parsed parsed = scores::from_text(text);
        ASSERT_TRUE(parsed.flaw) << text;
        EXPECT_EQ(parsed.flaw->line, line) << text;
        EXPECT_FALSE(parsed.flaw->later_version) << text;
    }
    EXPECT_TRUE(scores::from_text("orbitrix scores 2\nwhatever\n").flaw->later_version);
    EXPECT_FALSE(scores::from_text(header).flaw);
}

TEST(TextFormat, DatesOutsideTheYearsWrittenAreClamped) {
    EXPECT_EQ(common::iso_utc(-1), "1970-01-01T00:00:00Z");
    EXPECT_EQ(common::iso_utc(1LL << 40), "9999-12-31T23:59:59Z");
    EXPECT_EQ(common::parse_iso_utc("2024-02-29T23:59:59Z"), 1709251199);
}

} // namespace
