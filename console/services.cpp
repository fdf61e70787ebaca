#include "console/services.hpp"

#include "console/current.hpp"
#include "console/line_input.hpp"

#include <charconv>
#include <string>

namespace console {

int _kbhit() {
    return platform().kbhit() ? 1 : 0;
}
int _getch() {
    return platform().getch();
}

void _sleep(int ms) {
    platform().sleep(ms);
}
void Beep(int hz, int ms) {
    platform().beep(hz, ms);
}
void _beep(int hz, int ms) {
    platform().beep(hz, ms);
}
void SetConsoleCursorInfo(int size, bool visible) {
    platform().set_cursor_info(size, visible);
}
void request_full_screen() {
    platform().request_full_screen();
}

void vprint(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    std::size_t next = 0;
    auto take = [&]() -> const FormatArg* { return next < args.size() ? &args[next++] : nullptr; };
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char ch = format[i];
        if (ch != '%' || i + 1 == format.size()) {
            out += ch;
            continue;
        }
        const char spec = format[++i];
        const FormatArg* arg = spec == '%' ? nullptr : take();
        switch (spec) {
        case 'c':
            if (arg && std::holds_alternative<int>(*arg))
                out += static_cast<char>(static_cast<unsigned char>(std::get<int>(*arg)));
            break;
        case 'i':
        case 'd':
            if (arg && std::holds_alternative<int>(*arg)) {
                char digits[16];
                const auto res = std::to_chars(digits, digits + sizeof digits, std::get<int>(*arg));
                out.append(digits, res.ptr);
            }
            break;
        case 's':
            if (arg && std::holds_alternative<std::string_view>(*arg))
                out += std::get<std::string_view>(*arg);
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += spec;
            break;
        }
    }
    screen().write(out);
}

void puts(std::string_view text) {
    screen().write(text);
    line_break();
}

void gets(std::span<char> buffer) {
    read_line(buffer);
}

void scanf_i(int& value) {
    std::array<char, 256> line{};
    read_line(line);
    if (const auto parsed = parse_int_like_scanf(line.data()))
        value = *parsed;
}

int rand() {
    return platform().rand();
}
void srand(unsigned seed) {
    platform().srand(seed);
}
std::int64_t time() {
    return platform().time();
}

} // namespace console
