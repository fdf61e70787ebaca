#include "server/http/query.hpp"

#include "server/http/percent.hpp"

#include <optional>

namespace board::http {

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
        const auto name = percent_decoded(pair.substr(0, eq), true);
        const auto value = percent_decoded(
            eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1), true);
        if (!name || !value)
            return std::string("the query string has a broken %-escape");
        if (params.contains(*name))
            return "the parameter '" + *name + "' is given more than once";
        params.emplace(std::move(*name), std::move(*value));
    }
    return params;
}

} // namespace board::http
