#include "server/http/message.hpp"

#include <algorithm>
#include <cctype>

namespace board::http {

bool same_name(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view Request::path() const {
    const std::string_view whole(target);
    return whole.substr(0, whole.find('?'));
}

std::optional<std::string_view> Request::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (same_name(key, name))
            return std::string_view(value);
    return std::nullopt;
}

std::string Request::joined(std::string_view name) const {
    std::string all;
    bool first = true;
    for (const auto& [key, value] : headers)
        if (same_name(key, name)) {
            if (!first)
                all += ',';
            all += value;
            first = false;
        }
    return all;
}

} // namespace board::http
