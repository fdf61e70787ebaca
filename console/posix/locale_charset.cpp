#include "console/posix/locale_charset.hpp"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <langinfo.h>
#include <string_view>

namespace console::posix {
namespace {

// glibc's wchar_t is the character's Unicode value.
static_assert(sizeof(wchar_t) >= sizeof(char32_t));

std::optional<std::string> encode_in_locale(char32_t ch) {
    std::mbstate_t state{};
    std::string bytes(MB_LEN_MAX, '\0');
    const std::size_t n = std::wcrtomb(bytes.data(), static_cast<wchar_t>(ch), &state);
    if (n == static_cast<std::size_t>(-1) || wcwidth(static_cast<wchar_t>(ch)) != 1)
        return std::nullopt;
    bytes.resize(n);
    return bytes;
}

std::vector<char32_t> typed_high_bytes() {
    std::vector<char32_t> typed(128, 0);
    if (MB_CUR_MAX != 1)
        return typed; // a charset of several bytes a character other than UTF-8: not read
    for (int b = 128; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::mbstate_t state{};
        wchar_t ch = 0;
        if (std::mbrtowc(&ch, &byte, 1, &state) == 1)
            typed[static_cast<std::size_t>(b - 128)] = static_cast<char32_t>(ch);
    }
    return typed;
}

} // namespace

const char* locale_codeset() {
    std::setlocale(LC_CTYPE, "");
    return nl_langinfo(CODESET);
}

LocaleCharset locale_charset() {
    LocaleCharset charset;
    if (std::string_view(locale_codeset()) == "UTF-8")
        return charset;
    charset.utf8 = false;
    charset.encode = encode_in_locale;
    charset.typed_high_bytes = typed_high_bytes();
    return charset;
}

} // namespace console::posix
