#include "console/line_input.hpp"

#include "console/current.hpp"
#include "console/digits.hpp"

#include <climits>
#include <cstdint>

namespace console {
namespace {

constexpr int ENTER = 13;
constexpr int LINE_FEED = 10;
constexpr int BACKSPACE = 8;
constexpr int DELETE = 127;

void step_back() {
    ScreenBuffer& out = screen();
    const Coord at = out.info().cursor;
    if (at.x > 0)
        out.set_cursor(Coord{static_cast<std::int16_t>(at.x - 1), at.y});
    else if (at.y > 0)
        out.set_cursor(Coord{static_cast<std::int16_t>(out.info().size.x - 1),
                             static_cast<std::int16_t>(at.y - 1)});
}

} // namespace

void line_break() {
    ScreenBuffer& out = screen();
    const Coord at = out.info().cursor;
    out.set_cursor(Coord{0, static_cast<std::int16_t>(at.y + 1)});
}

void read_line(std::span<char> buffer) {
    if (buffer.empty())
        return;
    std::size_t length = 0;
    const std::size_t room = buffer.size() - 1;
    for (;;) {
        const int key = platform().getch();
        if (key == ENTER || key == LINE_FEED) {
            line_break();
            break;
        }
        if (key == BACKSPACE || key == DELETE) {
            if (length > 0) {
                --length;
                step_back();
                screen().write(" ");
                step_back();
            }
            continue;
        }
        if (key == 0 || key == 224) {
            // A key without a character: its second code is not text either.
            platform().getch();
            continue;
        }
        if (key < 32 || key > 255)
            continue;
        if (length < room) {
            buffer[length++] = static_cast<char>(key);
            const char echo = static_cast<char>(key);
            screen().write(std::string_view(&echo, 1));
        }
    }
    buffer[length] = '\0';
}

std::optional<int> parse_int_like_scanf(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\v' ||
                               text[i] == '\f' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            digit_value(text[i + 2]) < 16) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    // Past INT_MAX + 1 the value only saturates, so it never overflows.
    constexpr std::int64_t limit = std::int64_t{INT_MAX} + 1;
    std::int64_t magnitude = 0;
    bool any = false;
    for (; i < text.size() && digit_value(text[i]) < base; ++i) {
        any = true;
        magnitude = magnitude * base + digit_value(text[i]);
        if (magnitude > limit)
            magnitude = limit;
    }
    if (!any)
        return std::nullopt;
    if (negative)
        return static_cast<int>(-magnitude < INT_MIN ? INT_MIN : -magnitude);
    return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

} // namespace console
