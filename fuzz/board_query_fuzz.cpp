// The query strings a stranger sends the board, as the API and the pages read
// them: whatever the bytes, a query is refused or read within its bounds,
// never a crash, a sanitizer's report, or a level, limit or offset out of
// range.
#include "fuzz/fault.hpp"
#include "server/answers.hpp"
#include "server/pages/board_page.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace {

// "name=value&name=value", as the server's parameters hold it once decoded.
std::multimap<std::string, std::string> parameters(std::string_view text) {
    std::multimap<std::string, std::string> params;
    while (!text.empty()) {
        const std::size_t amp = text.find('&');
        const std::string_view pair = text.substr(0, amp);
        const std::size_t eq = pair.find('=');
        params.emplace(std::string(pair.substr(0, eq)), eq == std::string_view::npos
                                                            ? std::string()
                                                            : std::string(pair.substr(eq + 1)));
        if (amp == std::string_view::npos)
            break;
        text.remove_prefix(amp + 1);
    }
    return params;
}

std::optional<std::string_view> first(const std::multimap<std::string, std::string>& params,
                                      const std::string& name) {
    const auto found = params.find(name);
    if (found == params.end())
        return std::nullopt;
    return std::string_view(found->second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto params = parameters(std::string_view(reinterpret_cast<const char*>(data), size));

    const auto api = board::board_query(params);
    if (const auto* query = std::get_if<board::BoardQuery>(&api)) {
        if (query->limit < 1 || query->limit > 100)
            fault("a limit outside 1 to 100 was taken");
        if (query->offset < 0)
            fault("a negative offset was taken");
        if (query->level && (*query->level < 1 || *query->level > 4))
            fault("a level outside 1 to 4 was taken");
    } else if (std::get<std::string>(api).empty()) {
        fault("a refusal without its reason");
    }

    const auto page =
        board::pages::board_page_query(first(params, "level"), first(params, "offset"));
    if (page && page->offset < 0)
        fault("a negative page offset was taken");
    if (page && page->level && (*page->level < 1 || *page->level > board::pages::LEVELS))
        fault("a page level outside 1 to 4 was taken");
    return 0;
}
