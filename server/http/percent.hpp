#pragma once
// Percent-decoding of a request target's parts, one reading for the query
// and the static names: "%41" is 'A', and a '%' not followed by two hex
// digits makes the whole text unreadable.

#include "console/digits.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace board::http {

// `plus_is_space`: a query's '+' is a space; in a path it is itself.
inline std::optional<std::string> percent_decoded(std::string_view text, bool plus_is_space) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = console::digit_value(text[i + 1]);
            const int low = console::digit_value(text[i + 2]);
            if (high >= 16 || low >= 16)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += plus_is_space && text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

} // namespace board::http
