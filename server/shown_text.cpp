#include "server/shown_text.hpp"

#include "console/utf8.hpp"

#include <array>

namespace board {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

constexpr std::array CONTROLS{Range{0x00, 0x1f}, Range{0x7f, 0x9f}};
constexpr std::array BIDI{Range{0x061c, 0x061c}, Range{0x200e, 0x200f}, Range{0x202a, 0x202e},
                          Range{0x2066, 0x2069}};
constexpr std::array ZERO_WIDTH{Range{0x200b, 0x200d}, Range{0x2060, 0x2060},
                                Range{0xfeff, 0xfeff}};

template <std::size_t N> bool in(const std::array<Range, N>& ranges, char32_t c) {
    for (const Range& r : ranges)
        if (c >= r.first && c <= r.last)
            return true;
    return false;
}

} // namespace

std::optional<std::string> unshowable(std::string_view text, std::size_t max_bytes) {
    if (text.size() > max_bytes)
        return "is longer than " + std::to_string(max_bytes) + " bytes";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = console::first_utf8(text.substr(i));
        if (!c)
            return "is not UTF-8";
        if (in(CONTROLS, c->code))
            return "holds a control character (" + console::code_point(c->code) + ")";
        if (in(BIDI, c->code))
            return "holds a bidi control (" + console::code_point(c->code) + ")";
        if (in(ZERO_WIDTH, c->code))
            return "holds a zero-width character (" + console::code_point(c->code) + ")";
        i += c->length;
    }
    return std::nullopt;
}

} // namespace board
