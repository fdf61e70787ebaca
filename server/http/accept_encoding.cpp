#include "server/http/accept_encoding.hpp"

#include "server/http/field_text.hpp"

#include <algorithm>
#include <array>
#include <optional>

namespace board::http {
namespace {

// A qvalue (RFC 9110 section 12.4.2): "0" or "1", then "." and up to three
// decimals, never above 1. Whether it is above 0, or none when broken.
std::optional<bool> weight_above_zero(std::string_view q) {
    if (q.empty() || q.size() > 5 || (q[0] != '0' && q[0] != '1'))
        return std::nullopt;
    if (q.size() > 1 && q[1] != '.')
        return std::nullopt;
    const std::string_view decimals = q.substr(std::min<std::size_t>(q.size(), 2));
    if (decimals.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const bool zeros = decimals.find_first_not_of('0') == std::string_view::npos;
    if (q[0] == '1')
        return zeros ? std::optional<bool>(true) : std::nullopt;
    return !zeros;
}

struct Element {
    std::string_view coding;
    bool taken;
};

// "coding;q=0.5": parameters other than q are passed over.
std::optional<Element> read_element(std::string_view element) {
    const auto semicolon = element.find(';');
    Element out{trimmed(element.substr(0, semicolon)), true};
    if (out.coding.empty())
        return std::nullopt;
    std::string_view parameters =
        semicolon == std::string_view::npos ? std::string_view{} : element.substr(semicolon);
    while (!parameters.empty()) {
        parameters.remove_prefix(1); // the ';'
        const auto next = parameters.find(';');
        const std::string_view parameter = trimmed(parameters.substr(0, next));
        parameters = next == std::string_view::npos ? std::string_view{} : parameters.substr(next);
        const auto equals = parameter.find('=');
        if (equals == std::string_view::npos ||
            !same_word(trimmed(parameter.substr(0, equals)), "q"))
            continue;
        const auto above_zero = weight_above_zero(trimmed(parameter.substr(equals + 1)));
        if (!above_zero)
            return std::nullopt;
        out.taken = *above_zero;
    }
    return out;
}

} // namespace

bool accepts_gzip(std::string_view accept_encoding) {
    // A coding named twice is taken only if each mention takes it.
    std::optional<bool> gzip;
    std::optional<bool> any;
    while (!accept_encoding.empty()) {
        const auto element = read_element(next_element(accept_encoding));
        if (!element)
            continue;
        if (same_word(element->coding, "gzip") || same_word(element->coding, "x-gzip"))
            gzip = gzip.value_or(true) && element->taken;
        else if (element->coding == "*")
            any = any.value_or(true) && element->taken;
    }
    return gzip.value_or(any.value_or(false));
}

bool worth_compressing(std::string_view content_type, std::size_t size) {
    if (size <= SMALLEST_GZIPPED_BODY)
        return false;
    const std::string_view media = trimmed(content_type.substr(0, content_type.find(';')));
    if (media.size() > 5 && same_word(media.substr(0, 5), "text/"))
        return true;
    constexpr std::array<std::string_view, 4> shrinking = {
        "application/json", "application/javascript", "image/svg+xml", "application/x-asciicast"};
    for (const auto kind : shrinking)
        if (same_word(media, kind))
            return true;
    return false;
}

} // namespace board::http
