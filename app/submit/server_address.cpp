#include "app/submit/server_address.hpp"

#include <array>

namespace submit {

std::optional<std::string> board_address(std::string_view given) {
    constexpr std::array<std::string_view, 2> SCHEMES{"http://", "https://"};
    for (const std::string_view scheme : SCHEMES) {
        if (given.size() < scheme.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; i < scheme.size() && same; ++i)
            same = (given[i] | 0x20) == scheme[i];
        if (!same)
            continue;
        while (given.size() > scheme.size() && given.ends_with('/'))
            given.remove_suffix(1);
        const std::string_view host = given.substr(scheme.size());
        // Spaces and controls would be sent as they are on the request line.
        for (const char c : given)
            if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f)
                return std::nullopt;
        if (host.empty() || host.front() == '/' || host.front() == ':')
            return std::nullopt;
        return std::string(given);
    }
    return std::nullopt;
}

std::string under(const std::string& board, std::string_view path) {
    std::string address = board;
    if (!path.starts_with('/'))
        address += '/';
    address += path;
    return address;
}

} // namespace submit
