// Keyboard input from a terminal, whatever bytes it sends: the key decoder
// turns them into console key codes and the line input reads a name from
// those codes. Nothing may crash or trip a sanitizer, every byte must be
// settled once the input goes quiet, every code must be one the console's
// key reading can give, and a name must fit its buffer and hold no control
// byte.
//
// The first byte of an input chooses how the rest is cut into reads and how
// long the input stays quiet between them, and (its top bit) whether keys
// come as UTF-8 or in a one-byte charset, Latin-1; the rest is what the
// terminal sends.
#include "console/ansi/key_decoder.hpp"
#include "console/current.hpp"
#include "console/memory_console.hpp"
#include "console/services.hpp"
#include "fuzz/fault.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

using console::ansi::KeyDecoder;

void take_all(KeyDecoder& decoder, std::vector<int>& codes) {
    while (decoder.has_key()) {
        const int code = decoder.take();
        if (code < 0 || code > 255)
            fault("a key code outside 0..255");
        codes.push_back(code);
    }
    if (decoder.keys_waiting() != 0)
        fault("keys left waiting after all were taken");
}

// The quiet spells between reads, around the decoder's own limits.
constexpr std::int64_t gaps_ms[] = {0, 1, KeyDecoder::lone_escape_ms - 1,
                                    KeyDecoder::lone_escape_ms, KeyDecoder::stale_sequence_ms};

// What Latin-1 types for each byte from 128 up: the C1 controls none.
std::vector<char32_t> latin1_high_bytes() {
    std::vector<char32_t> typed(128, 0);
    for (char32_t c = 0xa0; c <= 0xff; ++c)
        typed[c - 0x80] = c;
    return typed;
}

std::vector<int> decode(std::uint8_t cut, std::span<const std::uint8_t> stream) {
    KeyDecoder decoder(cut & 0x80 ? latin1_high_bytes() : std::vector<char32_t>{});
    std::vector<int> codes;
    unsigned draw = cut;
    std::int64_t now = 0;
    for (std::size_t at = 0; at < stream.size();) {
        draw = draw * 1103515245u + 12345u;
        const std::size_t length = std::min<std::size_t>(1 + (draw >> 16) % 16, stream.size() - at);
        decoder.feed(stream.subspan(at, length), now);
        at += length;
        take_all(decoder, codes);
        const std::int64_t gap = gaps_ms[(draw >> 8) % std::size(gaps_ms)];
        if (gap > 0) {
            now += gap;
            if (const auto due = decoder.deadline(); due && *due < now - gap)
                fault("a deadline already passed before the quiet spell");
            decoder.idle(now);
            take_all(decoder, codes);
        }
    }
    // Quiet for good: nothing may stay held back.
    now += KeyDecoder::stale_sequence_ms;
    decoder.idle(now);
    take_all(decoder, codes);
    if (decoder.deadline())
        fault("bytes still held after the input went quiet");
    // A key without a character comes as a pair: its prefix 0 is never last.
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == 0 && i + 1 == codes.size())
            fault("a function key's prefix without its second code");
    return codes;
}

void read_names(const std::vector<int>& codes) {
    console::MemoryConsole con;
    for (const int code : codes)
        con.platform.push_key(code);
    // Two Enters: the first may be taken as the second code of a 224 the
    // decoder gave for a typed letter (the code page's O acute is 224).
    con.platform.push_key('\r');
    con.platform.push_key('\r');
    while (con.platform.keys_left() > 0) {
        std::array<char, 64> name;
        name.fill('\x7f');
        console::gets(name);
        const void* end = std::memchr(name.data(), '\0', name.size());
        if (end == nullptr)
            fault("a name without its closing zero");
        const std::size_t length = static_cast<const char*>(end) - name.data();
        if (length > 63)
            fault("a name longer than 63 bytes");
        for (std::size_t i = 0; i < length; ++i) {
            const auto byte = static_cast<unsigned char>(name[i]);
            if (byte < 32 || byte == 127)
                fault("a control byte in a name");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::vector<int> codes =
        decode(data[0], std::span<const std::uint8_t>(data + 1, size - 1));
    read_names(codes);
    return 0;
}
