#pragma once
// A request as the board's routes read it and the answer they give, plain
// data apart from the HTTP library that reads and writes them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace board::http {

class BodyStream;

using Fields = std::vector<std::pair<std::string, std::string>>;

struct Request {
    std::string method; // as sent: GET, HEAD, POST...
    std::string target; // raw, query and all
    unsigned version = 11;
    Fields headers;     // in the order they came
    std::string body;   // decoded from its Content-Encoding
    std::string peer;   // the socket's other end
    std::string client; // the peer, or whom a trusted proxy forwards for

    // The path: the target up to its query.
    std::string_view path() const;
    // The first header of that name, compared without case.
    std::optional<std::string_view> header(std::string_view name) const;
    // Every header of that name, joined by commas in the order they came.
    std::string joined(std::string_view name) const;
};

struct Response {
    int status = 200;
    std::string content_type = "application/json";
    std::string body;
    Fields headers;
    // A file or a recording: a Range header may ask for part of it.
    bool ranges = false;
    // How long a client or a cache may keep it: a page that changes with
    // every run is asked again each time (and answered 304 while it holds).
    std::string cache_control = "no-cache";
    // The connection closes once this is sent.
    bool close = false;
    // The version of what the answer was made from, when it is known
    // without making it (service/board_version.hpp): its ETag then names that
    // version rather than the body's bytes.
    std::string version;
    // A long answer whose body comes in pieces as they are made (sent
    // chunked, and the connection closed after); `body` is not sent.
    std::shared_ptr<BodyStream> stream = {};
};

} // namespace board::http
