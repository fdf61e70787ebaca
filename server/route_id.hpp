#pragma once
// The run id a route's pattern captured, as the API and the pages read it.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include <httplib.h>

namespace board {

// None when the capture is not a whole decimal number that fits.
inline std::optional<std::int64_t> id_in(const httplib::Request& req) {
    const std::string text = req.matches[1];
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return id;
}

} // namespace board
