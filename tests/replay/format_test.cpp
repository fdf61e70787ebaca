#include "replay/line_format.hpp"
#include "replay/recording_file.hpp"

#include <gtest/gtest.h>

#include <set>
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
    EXPECT_EQ(line_of(events[5]), "game won 255 13 30040 9 \"a\\\"b\\\\c \u00E9\u00A0\\x7f\"\n");
}

// A name is written as UTF-8, each code-page byte as the character the game
// shows for it, and read back as the same bytes; the form from before, with
// \xHH for every byte past ASCII, reads as the same name.
TEST(Format, NamesAreWrittenAsUtf8AndReadInEitherForm) {
    struct Case {
        std::string bytes;   // as the game holds it, code page 850
        std::string written; // between the quotes
        std::string before;  // as recordings from before wrote it
    };
    using namespace std::string_literals;
    const std::vector<Case> cases{
        {"Ana", "Ana", "Ana"},
        {"Jo\xC6o", "Jo\u00E3o", "Jo\\xc6o"},
        {"Jos\x82 Concei\x87\xC6o", "Jos\u00E9 Concei\u00E7\u00E3o", "Jos\\x82 Concei\\x87\\xC6o"},
        {"\x90\x9A\xA5\xE1", "\u00C9\u00DC\u00D1\u00DF", "\\x90\\x9a\\xa5\\xe1"},
        {"\xB0\xC9\xFE\xFF", "\u2591\u2554\u25A0\u00A0", "\\xb0\\xc9\\xfe\\xff"},
        // No character stands for these alone: the hyphen shown for 0xF0 is
        // 0x2D's, the pictographs of the control bytes are the signs'.
        {"\xF0-\x14\xF4\x01\x7f\x00"s, "\\xf0-\\x14\u00B6\\x01\\x7f\\x00",
         "\\xf0-\\x14\\xf4\\x01\\x7f\\x00"},
        {"a\"b\\", "a\\\"b\\\\", "a\\\"b\\\\"},
    };
    const auto read_name = [](const std::string& quoted_text) {
        const auto read =
            read_recording(header() + "game left 49 49 0 4 \"" + quoted_text + "\"\n");
        if (const auto* refusal = std::get_if<Refusal>(&read))
            return "refused: " + refusal->what;
        return std::get<GameEnded>(std::get<Recording>(read).events.at(0)).result.nome;
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replay::quoted(c.bytes), "\"" + c.written + "\"");
        EXPECT_EQ(read_name(c.written), c.bytes) << c.written;
        EXPECT_EQ(read_name(c.before), c.bytes) << c.before;
    }
    // Every byte the game could hold comes back as itself, and each has one
    // spelling.
    std::set<std::string> spellings;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string q = replay::quoted(byte);
        EXPECT_EQ(read_name(q.substr(1, q.size() - 2)), byte) << b;
        spellings.insert(q);
    }
    EXPECT_EQ(spellings.size(), 256u);
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
                "quoted text"},
        // Names: what no game's code page writes, as a stranger might send it.
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\tB\"\n", 3,
                "a control character"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\x7f\"\n", 3,
                "a control character"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"Jo\xc6o\"\n", 3,
                "not UTF-8"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"\xc3\"\n", 3,
                "not UTF-8"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"\xc0\xaf\"\n", 3,
                "not UTF-8"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"\xed\xa0\x80\"\n", 3,
                "not UTF-8"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\u202EB\"\n", 3,
                "U+202E, which the game's code page has no letter for"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\u200BB\"\n", 3,
                "U+200B"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"\xc2\x85\"\n", 3,
                "U+0085"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"A\u00AD\"\n", 3,
                "U+00AD"},
        Damaged{"orbitrix replay 1\n" + made_by + "game lost 49 49 10 0 \"\U0001F680\"\n", 3,
                "U+1F680"}));

} // namespace
