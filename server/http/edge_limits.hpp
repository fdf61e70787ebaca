#pragma once
// What the HTTP edge gives any one client, each a command-line flag: bytes
// of header, seconds to send a request or take an answer, connections.

#include <chrono>
#include <cstddef>

namespace board::http {

struct EdgeLimits {
    std::size_t header_bytes = 8 * 1024;            // the request line and its headers: 431
    std::size_t header_lines = 64;                  // 431
    std::chrono::milliseconds request_time{10'000}; // line, headers and body: 408
    std::chrono::milliseconds idle_time{30'000};    // a kept-alive connection between requests
    std::chrono::milliseconds send_time{30'000};    // an answer's reader without progress
    std::size_t connections = 10'000;               // in all: 503
    std::size_t connections_per_address = 256;      // 429
    // A body sent where none is read (a ticket's ask, a refused method).
    std::size_t dropped_body = 4096;
};

} // namespace board::http
