#include "console/utf8.hpp"

#include <array>
#include <cstdint>

namespace console {
namespace {

// Continuation bytes that a lead byte asks for; -1 when it cannot lead.
int continuations(unsigned char lead) {
    if (lead < 0x80)
        return 0;
    if (lead >= 0xc2 && lead <= 0xdf)
        return 1;
    if (lead >= 0xe0 && lead <= 0xef)
        return 2;
    if (lead >= 0xf0 && lead <= 0xf4)
        return 3;
    return -1;
}

} // namespace

std::optional<Utf8Char> first_utf8(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(text[0]);
    const int more = continuations(lead);
    if (more < 0 || text.size() <= static_cast<std::size_t>(more))
        return std::nullopt;
    std::uint32_t code = more == 0 ? lead : lead & (0x3fu >> more);
    for (std::size_t k = 1; k <= static_cast<std::size_t>(more); ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if ((next & 0xc0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (next & 0x3fu);
    }
    constexpr std::array<std::uint32_t, 4> least{0, 0x80, 0x800, 0x10000};
    if (code < least[static_cast<std::size_t>(more)] || (code >= 0xd800 && code <= 0xdfff) ||
        code > 0x10ffff)
        return std::nullopt;
    return Utf8Char{static_cast<char32_t>(code), static_cast<std::size_t>(more) + 1};
}

std::string code_point(char32_t c) {
    std::string hex;
    for (; c > 0 || hex.size() < 4; c >>= 4)
        hex.insert(hex.begin(), "0123456789ABCDEF"[c & 15]);
    return "U+" + hex;
}

} // namespace console
