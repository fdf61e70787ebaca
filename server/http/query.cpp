#include "server/http/query.hpp"

#include <optional>

namespace board::http {
namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> decoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = hex_digit(text[i + 1]);
            const int low = hex_digit(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string_view query_of(std::string_view target) {
    const auto mark = target.find('?');
    if (mark == std::string_view::npos)
        return {};
    const std::string_view query = target.substr(mark + 1);
    return query.substr(0, query.find('#'));
}

std::variant<Parameters, std::string> read_query(std::string_view query) {
    Parameters params;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        if (pair.empty())
            continue;
        const auto eq = pair.find('=');
        const auto name = decoded(pair.substr(0, eq));
        const auto value =
            decoded(eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1));
        if (!name || !value)
            return std::string("the query string has a broken %-escape");
        if (params.contains(*name))
            return "the parameter '" + *name + "' is given more than once";
        params.emplace(std::move(*name), std::move(*value));
    }
    return params;
}

} // namespace board::http
