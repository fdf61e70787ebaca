#include "console/ansi/key_decoder.hpp"

#include "console/glyphs.hpp"

#include <charconv>

namespace console::ansi {
namespace {

constexpr std::uint8_t ESC = 0x1b;
constexpr std::uint8_t BEL = 0x07;
constexpr std::uint8_t CAN = 0x18;
constexpr std::uint8_t SUB = 0x1a;

constexpr int ENTER = 13;
constexpr int BACKSPACE = 8;
constexpr int ESCAPE = 27;

// The two-code keys of the PC console.
constexpr int EXTENDED = 224;
constexpr int FUNCTION = 0;
constexpr int UP = 72, DOWN = 80, LEFT = 75, RIGHT = 77;
constexpr int HOME = 71, END = 79, PAGE_UP = 73, PAGE_DOWN = 81, INSERT = 82, DELETE = 83;
constexpr int F1 = 59; // F1..F10 are 59..68
constexpr int F11 = 133, F12 = 134;
constexpr int SHIFT_TAB = 15;

struct TwoCodes {
    int prefix;
    int scan;
};

// CSI sequences named by their final byte, whatever their parameters say of
// Shift, Alt or Ctrl.
struct FinalKey {
    char final_byte;
    TwoCodes key;
    // Only with a first number of 1 (or none).
    bool only_after_one = false;
};
constexpr FinalKey final_keys[] = {
    {'A', {EXTENDED, UP}},
    {'B', {EXTENDED, DOWN}},
    {'C', {EXTENDED, RIGHT}},
    {'D', {EXTENDED, LEFT}},
    {'H', {EXTENDED, HOME}},
    {'F', {EXTENDED, END}},
    {'Z', {FUNCTION, SHIFT_TAB}},
    // Modified F1..F4 as xterm sends them ("1;2P"). With another first
    // number it is no key: "row;column R" answers a position request.
    {'P', {FUNCTION, F1}, true},
    {'Q', {FUNCTION, F1 + 1}, true},
    {'R', {FUNCTION, F1 + 2}, true},
    {'S', {FUNCTION, F1 + 3}, true},
};

// CSI sequences ending in '~', named by their first number.
struct NumberedKey {
    int number;
    TwoCodes key;
};
constexpr NumberedKey numbered_keys[] = {
    // The editing keys: Home and End are 1 and 4 on some terminals, 7 and 8
    // on others.
    {1, {EXTENDED, HOME}},
    {2, {EXTENDED, INSERT}},
    {3, {EXTENDED, DELETE}},
    {4, {EXTENDED, END}},
    {5, {EXTENDED, PAGE_UP}},
    {6, {EXTENDED, PAGE_DOWN}},
    {7, {EXTENDED, HOME}},
    {8, {EXTENDED, END}},
    // F1..F12; 16 and 22 name no key.
    {11, {FUNCTION, F1}},
    {12, {FUNCTION, F1 + 1}},
    {13, {FUNCTION, F1 + 2}},
    {14, {FUNCTION, F1 + 3}},
    {15, {FUNCTION, F1 + 4}},
    {17, {FUNCTION, F1 + 5}},
    {18, {FUNCTION, F1 + 6}},
    {19, {FUNCTION, F1 + 7}},
    {20, {FUNCTION, F1 + 8}},
    {21, {FUNCTION, F1 + 9}},
    {23, {EXTENDED, F11}},
    {24, {EXTENDED, F12}},
};

// Parameters longer than any key's are not kept; the sequence still is
// read to its end.
constexpr std::size_t max_params = 32;

// The first number of a parameter string ("1;5" gives 1), or `fallback`
// when there is none.
int first_number(const std::string& params, int fallback) {
    int value = 0;
    const char* begin = params.data();
    const char* end = begin + params.size();
    const auto res = std::from_chars(begin, end, value);
    if (res.ec != std::errc{} || (res.ptr != end && *res.ptr != ';'))
        return fallback;
    return value;
}

bool private_or_intermediate(const std::string& params) {
    for (const char c : params)
        if (c == '<' || c == '=' || c == '>' || c == '?' || (c >= 0x20 && c <= 0x2f))
            return true;
    return false;
}

} // namespace

void KeyDecoder::feed(std::span<const std::uint8_t> bytes, std::int64_t now_ms) {
    for (const std::uint8_t b : bytes) {
        byte(b);
        last_byte_ms_ = now_ms;
    }
}

void KeyDecoder::idle(std::int64_t now_ms) {
    const std::int64_t quiet = now_ms - last_byte_ms_;
    if (quiet >= lone_escape_ms)
        after_cr_ = false;
    if (state_ == State::escape && quiet >= lone_escape_ms) {
        key(ESCAPE);
        reset();
    } else if (state_ != State::ground && quiet >= stale_sequence_ms) {
        reset();
    }
}

std::optional<std::int64_t> KeyDecoder::deadline() const {
    if (state_ == State::ground)
        return std::nullopt;
    if (state_ == State::escape)
        return last_byte_ms_ + lone_escape_ms;
    return last_byte_ms_ + stale_sequence_ms;
}

int KeyDecoder::take() {
    const int code = codes_.front();
    codes_.pop_front();
    return code;
}

void KeyDecoder::byte(std::uint8_t b) {
    switch (state_) {
    case State::ground:
        ground(b);
        return;
    case State::escape:
        escape(b);
        return;
    case State::csi:
        csi(b);
        return;
    case State::csi_linux_fkey:
        if (b >= 'A' && b <= 'E')
            pair(FUNCTION, F1 + (b - 'A'));
        reset();
        return;
    case State::mouse_x10:
        if (--mouse_bytes_left_ == 0)
            reset();
        return;
    case State::ss3:
        ss3(b);
        return;
    case State::control_string:
        if (b == BEL || b == CAN || b == SUB)
            reset();
        else if (b == ESC)
            state_ = State::string_escape;
        return;
    case State::string_escape:
        if (b == '\\') {
            reset();
            return;
        }
        // An ESC that does not close the string starts a sequence anew.
        state_ = State::escape;
        escape(b);
        return;
    case State::single_after:
        reset();
        return;
    case State::utf8:
        utf8(b);
        return;
    }
}

void KeyDecoder::ground(std::uint8_t b) {
    const bool was_after_cr = after_cr_;
    after_cr_ = false;
    if (b == ESC) {
        state_ = State::escape;
    } else if (b == '\r') {
        key(ENTER);
        after_cr_ = true;
    } else if (b == '\n') {
        // CR LF is one Enter, from a terminal or a pasted line alike.
        if (!was_after_cr)
            key(ENTER);
    } else if (b == 127 || b == 8) {
        key(BACKSPACE);
    } else if (b == 0) {
        // Ctrl+Space; as a code it would pass for a function key's prefix.
    } else if (b < 0x80) {
        key(b);
    } else if (!typed_high_bytes_.empty()) {
        one_byte_character(b);
    } else if (b >= 0xc2 && b <= 0xf4) {
        start_utf8(b, true);
    }
    // Other bytes of 0x80 and up cannot start a UTF-8 character: dropped.
}

void KeyDecoder::escape(std::uint8_t b) {
    switch (b) {
    case '[':
        state_ = State::csi;
        params_.clear();
        return;
    case 'O':
        state_ = State::ss3;
        params_.clear();
        return;
    case ']':
    case 'P':
    case 'X':
    case '^':
    case '_':
        state_ = State::control_string;
        return;
    case 'N':
        state_ = State::single_after;
        return;
    case ESC:
        // A second ESC: the first was Alt's prefix to what follows.
        return;
    default:
        break;
    }
    if (typed_high_bytes_.empty() && b >= 0xc2 && b <= 0xf4) {
        start_utf8(b, false); // Alt+letter
        return;
    }
    // Alt with any other key: not a key of the PC console.
    reset();
}

void KeyDecoder::csi(std::uint8_t b) {
    if (b >= 0x20 && b <= 0x3f) {
        if (params_.size() < max_params)
            params_ += static_cast<char>(b);
        return;
    }
    if (b >= 0x40 && b <= 0x7e) {
        if (params_.empty() && b == '[') {
            state_ = State::csi_linux_fkey;
        } else if (params_.empty() && b == 'M') {
            state_ = State::mouse_x10;
            mouse_bytes_left_ = 3;
        } else {
            finish_csi(static_cast<char>(b));
            reset();
        }
        return;
    }
    // Not part of any sequence: the sequence is broken off and the byte
    // read as itself.
    reset();
    ground(b);
}

void KeyDecoder::finish_csi(char final_byte) {
    if (private_or_intermediate(params_))
        return; // mouse, replies and the like
    const int n = first_number(params_, 1);
    if (final_byte == '~') {
        for (const NumberedKey& k : numbered_keys)
            if (k.number == n) {
                pair(k.key.prefix, k.key.scan);
                return;
            }
        return; // paste markers (200, 201) and keys the console lacks
    }
    for (const FinalKey& k : final_keys)
        if (k.final_byte == final_byte) {
            if (!k.only_after_one || n == 1)
                pair(k.key.prefix, k.key.scan);
            return;
        }
}

void KeyDecoder::ss3(std::uint8_t b) {
    if (b >= 0x30 && b <= 0x3f) {
        if (params_.size() < max_params)
            params_ += static_cast<char>(b);
        return;
    }
    if (b >= 0x40 && b <= 0x7e) {
        finish_ss3(static_cast<char>(b));
        reset();
        return;
    }
    reset();
    ground(b);
}

void KeyDecoder::finish_ss3(char final_byte) {
    switch (final_byte) {
    case 'A':
    case 'B':
    case 'C':
    case 'D':
    case 'H':
    case 'F':
        finish_csi(final_byte);
        return;
    case 'P':
    case 'Q':
    case 'R':
    case 'S':
        pair(FUNCTION, F1 + (final_byte - 'P'));
        return;
    case 'M':
        key(ENTER); // the keypad's Enter
        return;
    default:
        break;
    }
    // The keypad in application mode: its digits and signs as typed.
    if (final_byte >= 'p' && final_byte <= 'y')
        key('0' + (final_byte - 'p'));
    else if (final_byte >= 'j' && final_byte <= 'o')
        key("*+,-./"[final_byte - 'j']);
    else if (final_byte == 'X')
        key('=');
}

void KeyDecoder::start_utf8(std::uint8_t lead, bool keep) {
    state_ = State::utf8;
    utf8_keep_ = keep;
    if (lead < 0xe0) {
        utf8_length_ = 2;
        utf8_value_ = lead & 0x1fu;
    } else if (lead < 0xf0) {
        utf8_length_ = 3;
        utf8_value_ = lead & 0x0fu;
    } else {
        utf8_length_ = 4;
        utf8_value_ = lead & 0x07u;
    }
    utf8_left_ = utf8_length_ - 1;
}

void KeyDecoder::one_byte_character(std::uint8_t b) {
    const std::size_t i = b - 0x80u;
    const char32_t c = i < typed_high_bytes_.size() ? typed_high_bytes_[i] : 0;
    if (c == 0)
        return;
    if (const auto byte = byte_for_unicode(c))
        key(*byte);
}

void KeyDecoder::utf8(std::uint8_t b) {
    if ((b & 0xc0) != 0x80) {
        // Cut short: what came so far is dropped, the byte read anew.
        reset();
        ground(b);
        return;
    }
    utf8_value_ = (utf8_value_ << 6) | (b & 0x3fu);
    if (--utf8_left_ > 0)
        return;
    reset();
    const char32_t c = utf8_value_;
    const bool shortest = (utf8_length_ == 2 && c >= 0x80) ||
                          (utf8_length_ == 3 && c >= 0x800 && (c < 0xd800 || c > 0xdfff)) ||
                          (utf8_length_ == 4 && c >= 0x10000 && c <= 0x10ffff);
    if (!shortest || !utf8_keep_)
        return;
    if (const auto byte = byte_for_unicode(c))
        key(*byte);
}

} // namespace console::ansi
