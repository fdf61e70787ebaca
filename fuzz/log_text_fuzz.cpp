// A log field made of any bytes a client sends: the text that comes out is
// one line's worth, with no byte below 0x20 and no DEL, is valid UTF-8, has
// no C1 control, and is never empty.
#include "fuzz/fault.hpp"
#include "server/http/log_text.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Valid UTF-8 (no overlong form, no surrogate, at most U+10FFFF) with no C1
// control; checked apart from the code under test, byte by byte.
bool clean_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = 0;
        std::uint32_t code = 0;
        if ((b & 0xe0) == 0xc0) {
            n = 2;
            code = b & 0x1f;
        } else if ((b & 0xf0) == 0xe0) {
            n = 3;
            code = b & 0x0f;
        } else if ((b & 0xf8) == 0xf0) {
            n = 4;
            code = b & 0x07;
        } else {
            return false;
        }
        if (i + n > text.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xc0) != 0x80)
                return false;
            code = code << 6 | (c & 0x3f);
        }
        const std::uint32_t least = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
        if (code < least || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff) ||
            (code >= 0x80 && code < 0xa0))
            return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::string out = board::http::log_text(in);
    if (out.empty())
        fault("an empty field");
    for (const char c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7f)
            fault("a control byte, space or DEL reached the log");
    }
    if (!clean_utf8(out))
        fault("the log's text is not valid UTF-8, or holds a C1 control");
    if (out.find("\xe2\x80\xae") != std::string::npos)
        fault("a bidi override reached the log");
    return 0;
}
