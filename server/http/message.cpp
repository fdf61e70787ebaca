#include "server/http/message.hpp"

#include "server/http/field_text.hpp"

namespace board::http {

std::string_view Request::path() const {
    const std::string_view whole(target);
    return whole.substr(0, whole.find('?'));
}

std::optional<std::string_view> Request::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (same_word(key, name))
            return std::string_view(value);
    return std::nullopt;
}

std::string Request::joined(std::string_view name) const {
    std::string all;
    bool first = true;
    for (const auto& [key, value] : headers)
        if (same_word(key, name)) {
            if (!first)
                all += ',';
            all += value;
            first = false;
        }
    return all;
}

} // namespace board::http
