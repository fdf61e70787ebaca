#pragma once
// What the edge refuses of a request, and why: an HTTP status and one line
// of English for the client and the log.

#include <string>

namespace board::http {

struct Refusal {
    int status;
    std::string reason;
};

} // namespace board::http
