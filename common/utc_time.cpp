#include "common/utc_time.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace common {
namespace {

using namespace std::chrono;

constexpr std::int64_t LAST_SECOND = 253402300799; // 9999-12-31T23:59:59Z

std::optional<int> digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::string iso_utc(std::int64_t seconds) {
    const sys_seconds t{std::chrono::seconds{std::clamp<std::int64_t>(seconds, 0, LAST_SECOND)}};
    const sys_days day = floor<days>(t);
    const year_month_day date{day};
    const hh_mm_ss time{t - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", int{date.year()},
                  unsigned{date.month()}, unsigned{date.day()}, int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

std::optional<std::int64_t> parse_iso_utc(std::string_view text) {
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    const auto y = digits(text, 0, 4), mo = digits(text, 5, 2), d = digits(text, 8, 2);
    const auto h = digits(text, 11, 2), mi = digits(text, 14, 2), s = digits(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 59 || *y < 1970)
        return std::nullopt;
    const year_month_day date{year{*y}, month{unsigned(*mo)}, day{unsigned(*d)}};
    if (!date.ok())
        return std::nullopt;
    const auto t = sys_days{date} + hours{*h} + minutes{*mi} + std::chrono::seconds{*s};
    return duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

} // namespace common
