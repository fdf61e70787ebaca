#include "server/service/page_routes.hpp"

#include "server/answers.hpp"
#include "server/http/query.hpp"
#include "server/http/static_path.hpp"
#include "server/pages/board_page.hpp"
#include "server/pages/error_page.hpp"
#include "server/pages/run_cast.hpp"
#include "server/pages/run_page.hpp"
#include "server/static_files.hpp"

#include <optional>

namespace board {
namespace {

constexpr const char* HTML = "text/html; charset=utf-8";

std::optional<std::string_view> param(const http::Parameters& params, const char* name) {
    const auto found = params.find(name);
    if (found == params.end())
        return std::nullopt;
    return std::string_view(found->second);
}

http::Response answer(std::string body, std::string content_type) {
    http::Response response;
    response.body = std::move(body);
    response.content_type = std::move(content_type);
    return response;
}

} // namespace

http::Response page_refusal(pages::Missing what) {
    http::Response response = answer(pages::error_page(what), HTML);
    response.status = pages::error_status(what);
    return response;
}

http::Response refusal_answer(int status, const std::string& reason) {
    http::Response response;
    response.status = status;
    response.body = error_body(reason);
    return response;
}

http::Response board_page_answer(const http::Request& request, StorePool& stores,
                                 MadeAnswers& made) {
    const auto params = http::read_query(http::query_of(request.target));
    if (std::holds_alternative<std::string>(params))
        return page_refusal(pages::Missing::filters);
    const auto& given = std::get<http::Parameters>(params);
    const auto query = pages::board_page_query(param(given, "level"), param(given, "offset"),
                                               param(given, "kind"), param(given, "after"));
    if (!query)
        return page_refusal(pages::Missing::filters);
    auto store = stores.take();
    return board_read(
        request, *store, made, HTML,
        [&]() -> std::optional<std::string> { return pages::board_page(*store, *query); },
        [] { return page_refusal(pages::Missing::filters); });
}

http::Response run_page_answer(const http::Request& request, std::int64_t id, StorePool& stores,
                               MadeAnswers& made) {
    auto store = stores.take();
    return board_read(
        request, *store, made, HTML, [&] { return pages::run_page(*store, id); },
        [] { return page_refusal(pages::Missing::run); });
}

http::Response run_cast_answer(std::int64_t id, StorePool& stores, pages::CastCache& casts) {
    auto store = stores.take();
    const auto cast = pages::run_cast(*store, casts, id);
    if (!cast)
        return refusal_answer(404, "no such run");
    http::Response response = answer(*cast, "application/x-asciicast");
    response.ranges = true;
    // Made from a recording that never changes, by this version's renderer.
    response.cache_control = "public, max-age=86400";
    return response;
}

// Read from the raw target: a decoded path has lost its %00 and %2F.
http::Response static_answer(const http::Request& request, const std::string& web_dir) {
    const auto segments = http::static_path(request.target);
    auto bytes = segments ? read_static_file(web_dir, *segments) : std::nullopt;
    if (!bytes)
        return refusal_answer(404, "no such file");
    http::Response response =
        answer(std::move(*bytes), http::static_content_type(segments->back()));
    response.ranges = true;
    // Their names carry no version: an hour, then asked again (304 if kept).
    response.cache_control = "public, max-age=3600";
    return response;
}

} // namespace board
