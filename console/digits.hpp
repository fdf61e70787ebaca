#pragma once
// Digits as the number reader and the text files take them, kept in one
// place so that "\x1F" and "0x1f" read the same everywhere.

namespace console {

// What a digit is worth, from '0' to 'f' or 'F'; 16 for any other byte, so
// a caller asks `digit_value(ch) < base` for its own base up to 16.
constexpr int digit_value(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return 16;
}

// The digits written, lower case, by value.
inline constexpr char HEX_DIGITS[] = "0123456789abcdef";

} // namespace console
