#pragma once
// One HTTP exchange with a board: a request out, the server's answer or why
// there was none. libcurl answers on POSIX and WinHTTP on Windows, so the
// program's commands never name either.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>

namespace http {

struct Request {
    std::string method = "GET"; // "GET" or "POST"
    std::string url;            // http:// or https://
    std::string body = {};
    std::string content_type = {}; // sent with a body
};

struct Response {
    int status = 0;
    std::string body;
    std::optional<std::string> retry_after = {}; // the header's value, as sent
};

// No answer came: the name could not be resolved, the connection was
// refused or timed out, TLS failed.
struct Failure {
    std::string what;
};

using Outcome = std::variant<Response, Failure>;

// A longer answer is a failure: no board's answer comes near it, and a
// stranger's server must not fill the memory.
inline constexpr std::size_t MOST_ANSWER_BYTES = 4 << 20;

struct TimeLimits {
    std::chrono::milliseconds connect{10'000};
    std::chrono::milliseconds total{60'000};
};

// Proxies come from the usual variables (https_proxy, no_proxy...) on POSIX
// and from the system's settings on Windows; HTTPS is checked against the
// system's certificates.
Outcome send(const Request& request, TimeLimits limits = {});

} // namespace http
