#include "server/page_routes.hpp"

#include "server/answers.hpp"
#include "server/http/query.hpp"
#include "server/http/static_path.hpp"
#include "server/pages/board_page.hpp"
#include "server/pages/run_cast.hpp"
#include "server/pages/run_page.hpp"
#include "server/pages/static_paths.hpp"
#include "server/route_id.hpp"
#include "server/static_files.hpp"

#include <httplib.h>

#include <charconv>
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

void refuse(httplib::Response& res, int status, const std::string& reason) {
    res.status = status;
    res.set_content(error_body(reason), "application/json");
}

} // namespace

void add_page_routes(httplib::Server& http, StorePool& stores, const std::string& web_dir,
                     pages::CastCache& casts) {
    http.set_post_routing_handler([](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Security-Policy", std::string(pages::CONTENT_SECURITY_POLICY));
        res.set_header("X-Content-Type-Options", "nosniff");
    });
    // Read from the raw target: a decoded path has lost its %00 and %2F.
    http.Get(std::string(pages::STATIC_PREFIX) + ".*",
             [web_dir](const httplib::Request& req, httplib::Response& res) {
                 const auto segments = http::static_path(req.target);
                 const auto bytes = segments ? read_static_file(web_dir, *segments) : std::nullopt;
                 if (!bytes)
                     return refuse(res, 404, "no such file");
                 res.set_content(*bytes, http::static_content_type(segments->back()));
             });

    http.Get("/", [&stores](const httplib::Request& req, httplib::Response& res) {
        const auto params = http::read_query(http::query_of(req.target));
        if (const auto* reason = std::get_if<std::string>(&params))
            return refuse(res, 400, *reason);
        const auto& given = std::get<http::Parameters>(params);
        const auto query = pages::board_page_query(param(given, "level"), param(given, "offset"),
                                                   param(given, "kind"));
        if (!query)
            return refuse(res, 400,
                          "level is all or 1 to 4, offset a row number, and kind ranked, open "
                          "or all");
        auto store = stores.take();
        res.set_content(pages::board_page(*store, *query), HTML);
    });
    http.Get(R"(/runs/(\d+))", [&stores](const httplib::Request& req, httplib::Response& res) {
        const auto id = id_in(req);
        auto store = stores.take();
        const auto page = id ? pages::run_page(*store, *id) : std::nullopt;
        if (!page)
            return refuse(res, 404, "no such run");
        res.set_content(*page, HTML);
    });
    http.Get(R"(/runs/(\d+)\.cast)",
             [&stores, &casts](const httplib::Request& req, httplib::Response& res) {
                 const auto id = id_in(req);
                 auto store = stores.take();
                 const auto cast = id ? pages::run_cast(*store, casts, *id) : nullptr;
                 if (!cast)
                     return refuse(res, 404, "no such run");
                 res.set_content(*cast, "application/x-asciicast");
             });
}

} // namespace board
