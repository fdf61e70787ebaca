#include "replay/line_format.hpp"
#include "replay/recording_file.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace replay;

std::string header() {
    return header_lines();
}

TEST(Format, EveryKindOfEventReadsBackAsWritten) {
    const std::vector<Event> events{
        TimeRead{1'765'000'000},
        KeyRead{49, 0},
        KeyRead{224, 123456789012},
        GameEnded{{"Ana Maria", '1', '3', 15230, 0, game::Desfecho::perdeu}},
        GameEnded{{"", 'x', 'x', 0, 1, game::Desfecho::saiu}},
        // Quotes, backslashes, control and high bytes: the game takes any
        // byte from 32 on, the code page's letters too.
        GameEnded{{"a\"b\\c \x82\xff\x7f", 255, 13, 30040, 9, game::Desfecho::venceu}},
        TimeRead{-5},
    };
    std::string text = header();
    for (const Event& e : events)
        text += line_of(e);
    const auto read = read_recording(text);
    ASSERT_TRUE(std::holds_alternative<Recording>(read)) << std::get<Refusal>(read).what;
    const Recording& r = std::get<Recording>(read);
    EXPECT_EQ(r.events, events);
    EXPECT_EQ(r.made_by, this_program());
    EXPECT_EQ(r.last_line, 2 + static_cast<int>(events.size()));
    EXPECT_FALSE(r.cut_short);
    EXPECT_EQ(line_of(events[5]), "game won 255 13 30040 9 \"a\\\"b\\\\c \\x82\\xff\\x7f\"\n");
}

TEST(Format, ALastLineWithoutItsBreakIsDroppedAndCutsTheRecordingShort) {
    const auto read = read_recording(header() + "time 7\nkey 49 0\nkey 5");
    ASSERT_TRUE(std::holds_alternative<Recording>(read));
    const Recording& r = std::get<Recording>(read);
    EXPECT_EQ(r.events, (std::vector<Event>{TimeRead{7}, KeyRead{49, 0}}));
    EXPECT_EQ(r.last_line, 4);
    EXPECT_TRUE(r.cut_short);
    // A line break written in two steps on Windows still reads.
    EXPECT_TRUE(std::holds_alternative<Recording>(read_recording(header() + "time 7\r\n")));
}

struct Damaged {
    std::string text;
    int line;
    std::string what;
};

void PrintTo(const Damaged& d, std::ostream* os) {
    *os << "line " << d.line << ": " << d.what;
}

class Refused : public ::testing::TestWithParam<Damaged> {};

TEST_P(Refused, WithTheLineAtFault) {
    const Damaged d = GetParam();
    const auto read = read_recording(d.text);
    ASSERT_TRUE(std::holds_alternative<Refusal>(read));
    const Refusal& r = std::get<Refusal>(read);
    EXPECT_EQ(r.line, d.line) << r.what;
    EXPECT_NE(r.what.find(d.what), std::string::npos) << r.what;
    EXPECT_EQ(refusal_message("f.replay", r)
                  .rfind("orbitrix: f.replay line " + std::to_string(d.line) + ": ", 0),
              0u);
}

const std::string made_by = "orbitrix 1.0 linux\n";

INSTANTIATE_TEST_SUITE_P(
    Files, Refused,
    ::testing::Values(
        Damaged{"", 1, "no 'orbitrix replay' header"},
        Damaged{"orbitrix 1.0 linux\ntime 5\n", 1, "no 'orbitrix replay' header"},
        Damaged{"orbitrix replay 2\n" + made_by, 1, "format version 2 is later"},
        Damaged{"orbitrix replay one\n" + made_by, 1, "not a number"},
        Damaged{"orbitrix replay 1\n", 2, "version and platform"},
        Damaged{"orbitrix replay 1\ntime 5\n", 2, "version and platform"},
        Damaged{"orbitrix replay 1\n" + made_by + "time 5\n\n", 4, "empty line"},
        Damaged{"orbitrix replay 1\n" + made_by + "time 5\nkey 49\n", 4, "a key is"},
        Damaged{"orbitrix replay 1\n" + made_by + "key 49 -1\n", 3, "a key is"},
        Damaged{"orbitrix replay 1\n" + made_by + "key 49 0 \n", 3, "a key is"},
        Damaged{"orbitrix replay 1\n" + made_by + "time 5s\n", 3, "a time is"},
        Damaged{"orbitrix replay 1\n" + made_by + "mouse 3 4\n", 3, "'mouse' is not an event"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0\n", 3, "a game needs"},
        Damaged{"orbitrix replay 1\n" + made_by + "game gone 49 49 10 0 \"A\"\n", 3,
                "not an ending"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 ten 0 \"A\"\n", 3,
                "whole numbers"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\n", 3, "quoted text"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\\q\"\n", 3,
                "quoted text"}));

} // namespace
