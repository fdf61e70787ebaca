#include "replay/cast_json.hpp"

namespace replay {

std::string json_string(std::string_view text) {
    static constexpr std::string_view hex = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + text.size() / 4 + 2);
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\b') {
            out += "\\b";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string json_seconds(std::int64_t ms) {
    const std::int64_t thousandths = ms % 1000;
    std::string out = std::to_string(ms / 1000);
    out += '.';
    if (thousandths < 100)
        out += '0';
    if (thousandths < 10)
        out += '0';
    out += std::to_string(thousandths);
    return out;
}

} // namespace replay
