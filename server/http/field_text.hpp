#pragma once
// The small readings every header field's value shares (RFC 9110 section
// 5.6): optional whitespace around a value and its list elements, and
// names compared without case. ASCII only: the C library's tolower follows
// the locale, which a header does not.

#include <algorithm>
#include <string_view>

namespace board::http {

// Without the spaces and tabs around it.
inline std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

inline char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool same_word(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

// The first element of a comma-separated list, trimmed, and the list
// without it: empty elements come back empty, for the reader to skip.
inline std::string_view next_element(std::string_view& list) {
    const auto comma = list.find(',');
    const std::string_view element = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    return trimmed(element);
}

} // namespace board::http
