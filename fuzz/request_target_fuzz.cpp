// A request target a stranger sends, as the board reads it: its query
// string's parameters, the /static/ file it names and the methods its path
// takes. Whatever the bytes, no crash or sanitizer's report; no parameter
// is read twice; and no static name can leave the web folder.
#include "fuzz/fault.hpp"
#include "server/http/allowed_methods.hpp"
#include "server/http/query.hpp"
#include "server/http/static_path.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace board::http;
    const std::string_view target(reinterpret_cast<const char*>(data), size);

    const std::string_view query = query_of(target);
    if (!query.empty() && (query.data() < target.data() ||
                           query.data() + query.size() > target.data() + target.size()))
        fault("the query string is not inside the target");
    const auto params = read_query(query);
    if (const auto* reason = std::get_if<std::string>(&params)) {
        if (reason->empty())
            fault("a refusal without its reason");
    } else if (std::get<Parameters>(params).size() > query.size()) {
        fault("more parameters than bytes");
    }

    if (const auto segments = static_path(target)) {
        if (segments->empty())
            fault("a file with no name");
        for (const auto& s : *segments) {
            if (s.empty() || s == "." || s == "..")
                fault("a segment that names no file of the folder");
            for (const char c : s)
                if (c == '/' || c == '\\' || c == '\0' || static_cast<unsigned char>(c) < 0x20)
                    fault("a separator or control byte inside a name");
        }
        static_content_type(segments->back());
    }

    if (const auto allow = allowed_methods(target)) {
        if (*allow != "GET, HEAD" && *allow != "POST" && *allow != "GET, HEAD, POST")
            fault("an Allow header of no route");
        // What the header names is what the route takes, and nothing else.
        const auto route = route_of(target);
        if (!route)
            fault("an Allow header of no route");
        for (const char* method : {"GET", "HEAD", "POST", "PUT"})
            if (takes(route->place, method) != (allow->find(method) != std::string::npos))
                fault("an Allow header that names other methods than the route takes");
    }
    return 0;
}
