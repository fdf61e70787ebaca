#pragma once
// Reads one request from the bytes a connection brings, whatever their
// cut, and refuses it the moment it passes a limit: a header longer than
// the limit or with too many lines, a body longer than its route takes
// (a Content-Length from the headers alone, a chunked body as it arrives),
// a body in a coding the board does not read. No sockets here: the
// connection feeds it, and the fuzzer does too.

#include "server/http/edge_limits.hpp"
#include "server/http/message.hpp"
#include "server/http/refusal.hpp"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace board::http {

// What a route takes as a body: at most `limit` bytes on the wire, and
// whether it must be announced (411 when neither a Content-Length nor a
// chunked coding says one comes).
struct BodyRule {
    std::size_t limit = 0;
    bool needs_length = false;
};
using BodyRules = std::function<BodyRule(std::string_view method, std::string_view target)>;

class RequestReader {
  public:
    RequestReader(const EdgeLimits& limits, BodyRules rules);
    ~RequestReader();
    RequestReader(RequestReader&&) noexcept;
    RequestReader& operator=(RequestReader&&) noexcept;

    // Reads what it can of `bytes` and says how many it used; what it left
    // is to be offered again with the bytes that come after. Nothing is
    // used once the request is whole or refused.
    std::size_t read(std::string_view bytes);

    bool started() const; // a byte of this request has come
    bool header_done() const;
    bool done() const;
    const std::optional<Refusal>& refusal() const;
    // The client waits for "100 Continue" before it sends the body.
    bool wants_continue() const;
    // Whether the connection may carry another request after this one.
    bool keep_alive() const;
    // What the request line said, as far as it came ("" before).
    std::string method() const;
    std::string target() const;

    // The request once done(); its body as it came on the wire.
    Request take();

  private:
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

} // namespace board::http
