#include "server/http/static_path.hpp"

#include "server/http/percent.hpp"

#include <array>
#include <utility>

namespace board::http {
namespace {

constexpr std::string_view PREFIX = "/static/";
constexpr std::size_t MOST_SEGMENTS = 8;

std::optional<std::string> segment(std::string_view raw) {
    auto out = percent_decoded(raw, false);
    if (!out)
        return std::nullopt;
    for (const char c : *out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '/' || c == '\\')
            return std::nullopt;
    }
    if (out->empty() || *out == "." || *out == "..")
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::vector<std::string>> static_path(std::string_view target) {
    target = target.substr(0, target.find_first_of("?#"));
    if (!target.starts_with(PREFIX))
        return std::nullopt;
    target.remove_prefix(PREFIX.size());
    std::vector<std::string> segments;
    while (true) {
        const auto slash = target.find('/');
        auto one = segment(target.substr(0, slash));
        if (!one || segments.size() == MOST_SEGMENTS)
            return std::nullopt;
        segments.push_back(std::move(*one));
        if (slash == std::string_view::npos)
            break;
        target.remove_prefix(slash + 1);
    }
    return segments;
}

std::string static_content_type(std::string_view name) {
    constexpr std::array<std::pair<std::string_view, std::string_view>, 9> TYPES = {{
        {".css", "text/css"},
        {".js", "text/javascript"},
        {".svg", "image/svg+xml"},
        {".html", "text/html; charset=utf-8"},
        {".json", "application/json"},
        {".wasm", "application/wasm"},
        {".png", "image/png"},
        {".woff2", "font/woff2"},
        {".txt", "text/plain; charset=utf-8"},
    }};
    for (const auto& [ending, type] : TYPES)
        if (name.ends_with(ending))
            return std::string(type);
    return "application/octet-stream";
}

} // namespace board::http
