#pragma once
// What the edge answers instead of a route: a status and a one-line reason
// in English, for the answer's body and the log.

#include <string>

namespace board::http {

struct Refusal {
    int status;
    std::string reason;
};

} // namespace board::http
