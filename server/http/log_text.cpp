#include "server/http/log_text.hpp"

#include <cstdint>
#include <cstdio>

namespace board::http {
namespace {

void hex_byte(std::string& out, unsigned char byte) {
    constexpr const char* DIGITS = "0123456789abcdef";
    out += "\\x";
    out += DIGITS[byte >> 4];
    out += DIGITS[byte & 0xf];
}

// The length of the valid UTF-8 sequence at the start of `text` (2 to 4
// bytes, no overlong form, no surrogate, at most U+10FFFF), or 0; its code
// point in `code`.
std::size_t utf8_sequence(std::string_view text, std::uint32_t& code) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1f;
        least = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0f;
        least = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3f);
    }
    if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    return length;
}

// Characters that draw nothing but change how the text around them is
// shown: zero-width, bidi embeddings, overrides and isolates, the BOM, and
// the line and paragraph separators.
bool invisible_control(std::uint32_t code) {
    return (code >= 0x200b && code <= 0x200f) || (code >= 0x2028 && code <= 0x202e) ||
           (code >= 0x2060 && code <= 0x2069) || code == 0xfeff;
}

} // namespace

std::string log_text(std::string_view text) {
    if (text.empty())
        return "-";
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        if (byte < 0x80) {
            if (byte == '\\')
                out += "\\\\";
            else if (byte == '"')
                out += "\\\"";
            else if (byte == '\n')
                out += "\\n";
            else if (byte == '\r')
                out += "\\r";
            else if (byte == '\t')
                out += "\\t";
            else if (byte <= 0x20 || byte == 0x7f)
                hex_byte(out, byte);
            else
                out += static_cast<char>(byte);
            text.remove_prefix(1);
            continue;
        }
        std::uint32_t code = 0;
        const std::size_t length = utf8_sequence(text, code);
        if (length == 0) {
            hex_byte(out, byte);
            text.remove_prefix(1);
            continue;
        }
        if (code < 0xa0) { // C1 controls, U+0080 to U+009F
            for (std::size_t i = 0; i < length; ++i)
                hex_byte(out, static_cast<unsigned char>(text[i]));
        } else if (invisible_control(code)) {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u{%04x}", static_cast<unsigned>(code));
            out += escaped;
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

} // namespace board::http
