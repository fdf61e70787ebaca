// Terminal input as the game reads it: the codes a PC console would give.
#include "console/ansi/key_decoder.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string_view>
#include <vector>

namespace {

using console::ansi::KeyDecoder;

std::vector<int> drain(KeyDecoder& d) {
    std::vector<int> out;
    while (d.has_key())
        out.push_back(d.take());
    return out;
}

void feed(KeyDecoder& d, std::string_view bytes, std::int64_t at = 0) {
    d.feed(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), at);
}

// All the codes the bytes make, the input then falling quiet.
std::vector<int> decode(std::string_view bytes) {
    KeyDecoder d;
    feed(d, bytes, 0);
    d.idle(1000);
    return drain(d);
}

using Codes = std::vector<int>;

TEST(PlainKeys, ArriveAsTyped) {
    EXPECT_EQ(decode("aA 1w"), (Codes{'a', 'A', ' ', '1', 'w'}));
    EXPECT_EQ(decode("\r"), Codes{13});
    EXPECT_EQ(decode("\n"), Codes{13});
    EXPECT_EQ(decode("\r\n"), Codes{13}); // one Enter, not two
    EXPECT_EQ(decode("\r\r"), (Codes{13, 13}));
    EXPECT_EQ(decode("\x7f"), Codes{8});
    EXPECT_EQ(decode("\b"), Codes{8});
    EXPECT_EQ(decode("\t"), Codes{9});
    EXPECT_EQ(decode("\x01\x1a"), (Codes{1, 26}));
    // NUL would pass for a function key's prefix.
    EXPECT_EQ(decode(std::string_view("a\0b", 3)), (Codes{'a', 'b'}));
}

TEST(PlainKeys, Utf8LettersBecomeTheirCodePageByte) {
    EXPECT_EQ(decode("é"), Codes{130});
    EXPECT_EQ(decode("ç"), Codes{135});
    EXPECT_EQ(decode("ã"), Codes{198});
    EXPECT_EQ(decode("Ç"), Codes{128});
    // Nothing in the code page for it: dropped.
    EXPECT_EQ(decode("€x"), Codes{'x'});
    EXPECT_EQ(decode("😀x"), Codes{'x'});
}

TEST(PlainKeys, BrokenUtf8IsDropped) {
    EXPECT_EQ(decode("\x80x"), Codes{'x'});         // stray continuation
    EXPECT_EQ(decode("\xc3x"), Codes{'x'});         // cut short
    EXPECT_EQ(decode("\xc0\xa9x"), Codes{'x'});     // overlong
    EXPECT_EQ(decode("\xe0\x80\xa9x"), Codes{'x'}); // overlong
    EXPECT_EQ(decode("\xed\xa0\x80x"), Codes{'x'}); // surrogate
    EXPECT_EQ(decode("\xff\xfex"), Codes{'x'});
    EXPECT_EQ(decode("\xc3"), Codes{}); // unfinished at the end
}

TEST(Escape, ALoneEscIsTheEscKeyOnceTheInputIsQuiet) {
    KeyDecoder d;
    feed(d, "\x1b", 100);
    EXPECT_FALSE(d.has_key());
    ASSERT_TRUE(d.deadline().has_value());
    EXPECT_GE(*d.deadline() - 100, 25);
    EXPECT_LE(*d.deadline() - 100, 55);
    d.idle(100 + 20);
    EXPECT_FALSE(d.has_key());
    d.idle(*d.deadline());
    EXPECT_EQ(drain(d), Codes{27});
    EXPECT_FALSE(d.deadline().has_value());
}

TEST(Escape, ASequenceSplitAcrossReadsIsStillOneKey) {
    KeyDecoder d;
    feed(d, "\x1b", 0);
    d.idle(10);
    feed(d, "[", 15);
    d.idle(30);
    feed(d, "A", 45);
    EXPECT_EQ(drain(d), (Codes{224, 72}));
    // Read late, after the game was busy: what came counts, not the clock.
    feed(d, "\x1b", 100);
    feed(d, "[B", 900);
    EXPECT_EQ(drain(d), (Codes{224, 80}));
}

TEST(Escape, EscThenAKeyLaterAreTwoKeys) {
    KeyDecoder d;
    feed(d, "\x1b", 0);
    d.idle(50);
    feed(d, "a", 60);
    EXPECT_EQ(drain(d), (Codes{27, 'a'}));
}

TEST(FunctionKeys, CursorAndEditingKeysAre224AndTheScanCode) {
    EXPECT_EQ(decode("\x1b[A\x1b[B\x1b[D\x1b[C"), (Codes{224, 72, 224, 80, 224, 75, 224, 77}));
    EXPECT_EQ(decode("\x1bOA\x1bOB\x1bOD\x1bOC"), (Codes{224, 72, 224, 80, 224, 75, 224, 77}));
    EXPECT_EQ(decode("\x1b[H\x1b[F\x1bOH\x1bOF"), (Codes{224, 71, 224, 79, 224, 71, 224, 79}));
    EXPECT_EQ(decode("\x1b[1~\x1b[4~\x1b[7~\x1b[8~"), (Codes{224, 71, 224, 79, 224, 71, 224, 79}));
    EXPECT_EQ(decode("\x1b[5~\x1b[6~\x1b[2~\x1b[3~"), (Codes{224, 73, 224, 81, 224, 82, 224, 83}));
}

TEST(FunctionKeys, ModifiedKeysKeepTheirCode) {
    EXPECT_EQ(decode("\x1b[1;5A"), (Codes{224, 72}));
    EXPECT_EQ(decode("\x1b[1;2D"), (Codes{224, 75}));
    EXPECT_EQ(decode("\x1b[3;5~"), (Codes{224, 83}));
    EXPECT_EQ(decode("\x1b[1;2P"), (Codes{0, 59}));
    EXPECT_EQ(decode("\x1b[15;3~"), (Codes{0, 63}));
    EXPECT_EQ(decode("\x1bO5C"), (Codes{224, 77}));
    // Alt as a prefix to a whole sequence.
    EXPECT_EQ(decode("\x1b\x1b[A"), (Codes{224, 72}));
}

TEST(FunctionKeys, F1ToF10AreZeroAnd59To68) {
    EXPECT_EQ(decode("\x1bOP\x1bOQ\x1bOR\x1bOS"), (Codes{0, 59, 0, 60, 0, 61, 0, 62}));
    EXPECT_EQ(decode("\x1b[11~\x1b[12~\x1b[13~\x1b[14~\x1b[15~"),
              (Codes{0, 59, 0, 60, 0, 61, 0, 62, 0, 63}));
    EXPECT_EQ(decode("\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~"),
              (Codes{0, 64, 0, 65, 0, 66, 0, 67, 0, 68}));
    EXPECT_EQ(decode("\x1b[[A\x1b[[E"), (Codes{0, 59, 0, 63})); // Linux console
    EXPECT_EQ(decode("\x1b[23~\x1b[24~"), (Codes{224, 133, 224, 134}));
}

TEST(Swallowed, OtherSequencesLeaveNoCodeBehind) {
    EXPECT_EQ(decode("\x1b"
                     "ax"),
              Codes{'x'});                          // Alt+a
    EXPECT_EQ(decode("\x1b\xc3\xa9x"), Codes{'x'}); // Alt+é
    EXPECT_EQ(decode("\x1b[200~hi\x1b[201~"), (Codes{'h', 'i'}));
    EXPECT_EQ(decode("\x1b[I\x1b[Ox"), Codes{'x'});                   // focus in/out
    EXPECT_EQ(decode("\x1b[<0;12;5Mx\x1b[<0;12;5m"), Codes{'x'});     // SGR mouse
    EXPECT_EQ(decode("\x1b[M !!x"), Codes{'x'});                      // X10 mouse, raw bytes
    EXPECT_EQ(decode("\x1b[M\x1b\x1b\x1bx"), Codes{'x'});             // ... even ESCs among them
    EXPECT_EQ(decode("\x1b]11;rgb:0000/0000/0000\x07x"), Codes{'x'}); // OSC reply, BEL
    EXPECT_EQ(decode("\x1b]11;rgb:0/0/0\x1b\\x"), Codes{'x'});        // OSC reply, ST
    EXPECT_EQ(decode("\x1bP1$r0m\x1b\\x"), Codes{'x'});               // DCS reply
    EXPECT_EQ(decode("\x1b[12;40Rx"), Codes{'x'});                    // a cursor position report
    EXPECT_EQ(decode("\x1b[?1;2cx"), Codes{'x'});                     // a device attributes reply
    EXPECT_EQ(decode("\x1b[99zx"), Codes{'x'});
}

TEST(Swallowed, AnUnfinishedSequenceIsDroppedNeverAnEsc) {
    KeyDecoder d;
    feed(d, "\x1b[1;5", 0);
    d.idle(100);
    EXPECT_FALSE(d.has_key()); // still waiting for its end
    d.idle(1000);
    EXPECT_FALSE(d.has_key());
    feed(d, "a", 1001);
    EXPECT_EQ(drain(d), Codes{'a'});
}

TEST(Swallowed, ABrokenSequenceLetsTheNextByteThrough) {
    EXPECT_EQ(decode("\x1b[1\rx"), (Codes{13, 'x'}));
    EXPECT_EQ(decode("\x1b[1\x1b[A"), (Codes{224, 72}));
}

TEST(DecoderFuzz, EveryByteIsConsumedAndEveryCodeIsAByte) {
    std::mt19937 gen(12345);
    // Biased towards the bytes that steer the state machine.
    const std::uint8_t interesting[] = {0x1b, '[',  'O',  ']',  'P',  '~',  ';',  '1',  'M',
                                        0x07, '\\', 0xc3, 0xe2, 0xf0, 0x80, 0xbf, '\r', '\n'};
    for (int round = 0; round < 2000; ++round) {
        KeyDecoder d;
        std::int64_t t = 0;
        std::vector<std::uint8_t> bytes;
        const int n = static_cast<int>(gen() % 64);
        for (int i = 0; i < n; ++i)
            bytes.push_back(gen() % 2 ? interesting[gen() % sizeof interesting]
                                      : static_cast<std::uint8_t>(gen()));
        std::size_t at = 0;
        while (at < bytes.size()) {
            const std::size_t chunk = std::min<std::size_t>(1 + gen() % 5, bytes.size() - at);
            d.feed(std::span(bytes.data() + at, chunk), t);
            at += chunk;
            t += gen() % 60;
            if (gen() % 3 == 0)
                d.idle(t);
            while (d.has_key()) {
                const int code = d.take();
                ASSERT_GE(code, 0);
                ASSERT_LE(code, 255);
            }
        }
        // Silence settles everything: nothing is left half-read.
        d.idle(t + 10'000);
        while (d.has_key())
            d.take();
        EXPECT_FALSE(d.deadline().has_value());
        feed(d, "q", t + 10'001);
        ASSERT_EQ(drain(d), Codes{'q'});
    }
}

} // namespace
