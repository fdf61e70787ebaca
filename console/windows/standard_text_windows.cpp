#include "console/standard_text.hpp"

#include <windows.h>

#include <cstdio>
#include <string>

namespace console {
namespace {

bool write_bytes(std::FILE* file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
           std::fflush(file) == 0;
}

// Line ends as the runtime's text mode writes them to a file.
std::wstring console_characters(std::string_view utf8) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    std::wstring lines;
    for (const wchar_t ch : wide) {
        if (ch == L'\n')
            lines += L'\r';
        lines += ch;
    }
    return lines;
}

} // namespace

bool write_standard(Standard to, std::string_view utf8) {
    std::FILE* file = to == Standard::output ? stdout : stderr;
    const HANDLE handle =
        GetStdHandle(to == Standard::output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (utf8.empty() || !GetConsoleMode(handle, &mode))
        return write_bytes(file, utf8);
    // What the runtime still holds was written first, so it shows first.
    std::fflush(file);
    const std::wstring text = console_characters(utf8);
    DWORD written = 0;
    return WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

} // namespace console
