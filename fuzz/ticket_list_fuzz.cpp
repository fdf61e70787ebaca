// The ticket ids a stranger names in a run's query string: reading them may
// refuse the list but never crash or trip a sanitizer, and what it takes
// is hex digits only, one entry a comma and one more, in order.
#include "server/ranked_rules.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto ids = board::ticket_list(text);
    if (!ids)
        return 0;
    std::string joined;
    for (std::size_t i = 0; i < ids->size(); ++i) {
        if ((*ids)[i].find_first_not_of("0123456789abcdef") != std::string::npos) {
            std::fprintf(stderr, "fault: an id that is not hex digits\n");
            std::abort();
        }
        joined += (i == 0 ? "" : ",") + (*ids)[i];
    }
    if (joined != text) {
        std::fprintf(stderr, "fault: the ids are not the list as sent\n");
        std::abort();
    }
    return 0;
}
