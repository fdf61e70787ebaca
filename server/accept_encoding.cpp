#include "server/accept_encoding.hpp"

#include <algorithm>
#include <cctype>

namespace board {

std::string without_brotli(std::string_view accept_encoding) {
    std::string out;
    while (!accept_encoding.empty()) {
        const auto comma = accept_encoding.find(',');
        std::string_view coding = accept_encoding.substr(0, comma);
        accept_encoding = comma == std::string_view::npos ? std::string_view{}
                                                          : accept_encoding.substr(comma + 1);
        std::string lower(coding);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.find("br") != std::string::npos)
            continue;
        while (!coding.empty() && coding.front() == ' ')
            coding.remove_prefix(1);
        if (coding.empty())
            continue;
        if (!out.empty())
            out += ", ";
        out += coding;
    }
    return out;
}

} // namespace board
