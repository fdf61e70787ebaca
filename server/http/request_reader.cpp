#include "server/http/request_reader.hpp"

#include "server/http/field_text.hpp"

#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <algorithm>
#include <limits>

namespace board::http {
namespace beast_http = boost::beast::http;

struct RequestReader::Parser {
    Parser(const EdgeLimits& l, BodyRules r) : limits(l), rules(std::move(r)) {}
    EdgeLimits limits;
    BodyRules rules;
    beast_http::request_parser<beast_http::string_body> beast;
    bool started = false;
    bool checked = false;
    std::optional<Refusal> refusal;

    std::optional<Refusal> check_header();
    void refuse_for(const boost::system::error_code& error);
};

namespace {

// The most any route takes: a longer Content-Length is refused by the
// parser itself, before the header is handed over.
constexpr std::uint64_t NO_ROUTE_TAKES_MORE = std::uint64_t{64} << 20;

std::string_view plain(boost::beast::string_view text) {
    return {text.data(), text.size()};
}

std::string kib(std::size_t bytes) {
    return bytes % 1024 == 0 ? std::to_string(bytes / 1024) + " KiB"
                             : std::to_string(bytes) + " bytes";
}

} // namespace

std::optional<Refusal> RequestReader::Parser::check_header() {
    const auto& head = beast.get();
    const auto lines = static_cast<std::size_t>(std::distance(head.begin(), head.end()));
    if (lines > limits.header_lines)
        return Refusal{431, "the request's headers take more than " +
                                std::to_string(limits.header_lines) + " lines"};
    const BodyRule rule = rules(plain(head.method_string()), plain(head.target()));
    const auto length = beast.content_length();
    if (length && *length > rule.limit)
        return Refusal{413, "this route takes a body of at most " + kib(rule.limit)};
    if (rule.needs_length && !length && !beast.chunked())
        return Refusal{411, "send the body with a Content-Length, or chunked"};
    // A chunked body is counted against what is left of this as it comes.
    beast.body_limit(rule.limit);
    return std::nullopt;
}

void RequestReader::Parser::refuse_for(const boost::system::error_code& error) {
    if (error == beast_http::error::header_limit)
        refusal = Refusal{431, "the request's line and headers take more than " +
                                   kib(limits.header_bytes)};
    else if (error == beast_http::error::body_limit)
        refusal = Refusal{413, "the body is longer than this route takes"};
    else
        refusal = Refusal{400, "a malformed request: " + error.message()};
}

RequestReader::RequestReader(const EdgeLimits& limits, BodyRules rules)
    : parser_(std::make_unique<Parser>(limits, std::move(rules))) {
    parser_->beast.header_limit(static_cast<std::uint32_t>(
        std::min<std::size_t>(limits.header_bytes, std::numeric_limits<std::uint32_t>::max())));
    parser_->beast.body_limit(NO_ROUTE_TAKES_MORE);
}

RequestReader::~RequestReader() = default;
RequestReader::RequestReader(RequestReader&&) noexcept = default;
RequestReader& RequestReader::operator=(RequestReader&&) noexcept = default;

std::size_t RequestReader::read(std::string_view bytes) {
    Parser& p = *parser_;
    std::size_t used = 0;
    while (!p.refusal && !p.beast.is_done() && used < bytes.size()) {
        p.started = true;
        boost::system::error_code error;
        const std::size_t n =
            p.beast.put(boost::asio::buffer(bytes.data() + used, bytes.size() - used), error);
        if (error == beast_http::error::need_more) {
            used += n;
            break;
        }
        if (error) { // what it took stays unused: the log quotes its line
            p.refuse_for(error);
            break;
        }
        used += n;
        if (p.beast.is_header_done() && !p.checked) {
            p.checked = true;
            p.refusal = p.check_header();
        }
        if (n == 0)
            break;
    }
    return used;
}

bool RequestReader::started() const {
    return parser_->started;
}

bool RequestReader::header_done() const {
    return parser_->checked && !parser_->refusal;
}

bool RequestReader::done() const {
    return !parser_->refusal && parser_->beast.is_done();
}

const std::optional<Refusal>& RequestReader::refusal() const {
    return parser_->refusal;
}

bool RequestReader::wants_continue() const {
    if (!header_done() || done())
        return false;
    const auto& head = parser_->beast.get();
    const auto expect = head[beast_http::field::expect];
    return head.version() >= 11 && same_word(plain(expect), "100-continue");
}

bool RequestReader::keep_alive() const {
    return parser_->beast.is_header_done() && parser_->beast.get().keep_alive();
}

std::string RequestReader::method() const {
    if (!parser_->beast.is_header_done())
        return {};
    return std::string(plain(parser_->beast.get().method_string()));
}

std::string RequestReader::target() const {
    if (!parser_->beast.is_header_done())
        return {};
    return std::string(plain(parser_->beast.get().target()));
}

Request RequestReader::take() {
    auto message = parser_->beast.release();
    Request request;
    request.method = std::string(plain(message.method_string()));
    request.target = std::string(plain(message.target()));
    request.version = message.version();
    for (const auto& field : message)
        request.headers.emplace_back(std::string(plain(field.name_string())),
                                     std::string(plain(field.value())));
    request.body = std::move(message.body());
    return request;
}

} // namespace board::http
