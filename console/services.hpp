#pragma once
// The runtime services the game calls, acting on the installed console.
// They keep the runtime's own names; those with a leading underscore are
// legal here only because they live in this namespace.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <variant>

namespace console {

// Keys.
int _kbhit();
int _getch();

// Time, tones and the console window.
void _sleep(int ms);
void Beep(int hz, int ms);
void _beep(int hz, int ms);
void SetConsoleCursorInfo(int size, bool visible);
// The full-screen display, or a window large enough (Platform says how).
void request_full_screen();

// Output at the cursor, in the current attribute. Formats know "%c" (the
// argument is written as one raw byte: one cell), "%i" (decimal), "%s" and
// "%%"; every other byte of the format is written as it stands.
using FormatArg = std::variant<int, std::string_view>;
void vprint(std::string_view format, std::span<const FormatArg> args);

template <class... Args> void printf(std::string_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg{args}...};
    vprint(format, list);
}
// The console's direct output; here the same stream as printf.
template <class... Args> void _cprintf(std::string_view format, const Args&... args) {
    printf(format, args...);
}
// The text, then a line break.
void puts(std::string_view text);

// Line input with echo, ended by Enter. Stores at most buffer.size() - 1
// printable bytes and a closing zero; Backspace edits; keys beyond the limit
// and control codes are not taken.
void gets(std::span<char> buffer);
// Reads one line with echo and, when it starts with an integer (after
// blanks), stores it the way "%i" reads one: 0x for hexadecimal, a leading 0
// for octal, clamped to int on overflow. Leaves value alone otherwise. The
// rest of the line is dropped.
void scanf_i(int& value);

// The random source and the clock.
int rand();
void srand(unsigned seed);
std::int64_t time();

} // namespace console
