#include "server/board_cursor.hpp"

#include <array>
#include <charconv>
#include <cstdint>

namespace board {
namespace {

// Past 2^53 a number is no row's: the API's JSON could not carry it.
constexpr std::int64_t MOST = std::int64_t{1} << 53;

// One field: digits only, no sign, no leading zero but in "0".
std::optional<std::int64_t> field(std::string_view text, std::int64_t least, std::int64_t most) {
    if (text.empty() || text.size() > 16 || text[0] < '0' || text[0] > '9' ||
        (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    std::int64_t value = 0;
    const char* const last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc{} || end != last || value < least || value > most)
        return std::nullopt;
    return value;
}

} // namespace

std::string cursor_text(const BoardCursor& c) {
    return std::to_string(c.points) + '.' + std::to_string(c.received_ms) + '.' +
           std::to_string(c.run_id) + '.' + std::to_string(c.game_index);
}

BoardCursor cursor_of(const Placed& row) {
    return {row.game.points, row.received_ms, row.run_id, row.game_index};
}

std::optional<BoardCursor> read_cursor(std::string_view text) {
    std::array<std::string_view, 4> parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t dot = text.find('.');
        if ((dot == std::string_view::npos) != (i + 1 == parts.size()))
            return std::nullopt;
        parts[i] = text.substr(0, dot);
        text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    }
    const auto points = field(parts[0], 0, MOST);
    const auto received = field(parts[1], 0, MOST);
    const auto run = field(parts[2], 1, MOST);
    const auto game = field(parts[3], 0, INT32_MAX);
    if (!points || !received || !run || !game)
        return std::nullopt;
    return BoardCursor{*points, *received, *run, static_cast<int>(*game)};
}

} // namespace board
