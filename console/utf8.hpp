#pragma once
// Reading UTF-8 one character at a time, strictly: no overlong forms, no
// surrogates, nothing past U+10FFFF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace console {

struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 0; // its bytes, 1 to 4
};

// The character `text` starts with; nothing when it is empty or does not
// start with a whole, well-formed one.
std::optional<Utf8Char> first_utf8(std::string_view text);

// A character as error messages name it: "U+00E3", "U+1F680".
std::string code_point(char32_t c);

} // namespace console
