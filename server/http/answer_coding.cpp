#include "server/http/answer_coding.hpp"

#include "server/http/accept_encoding.hpp"
#include "server/http/byte_range.hpp"
#include "server/http/field_text.hpp"
#include "server/http/gzip_body.hpp"

#include <zlib.h>

#include <cstdio>

namespace board::http {
namespace {

bool reads(const Request& request) {
    return request.method == "GET" || request.method == "HEAD";
}

// The tag without its weakness mark.
std::string_view opaque(std::string_view tag) {
    return tag.starts_with("W/") ? tag.substr(2) : tag;
}

// The tag of an answer by its version; `gzipped` names the gzip form.
std::string version_tag(std::string_view version, bool gzipped) {
    return "\"" + std::string(version) + (gzipped ? "-gz\"" : "\"");
}

} // namespace

std::optional<Response> not_modified(const Request& request, std::string_view version) {
    const auto asked = request.header("If-None-Match");
    if (!reads(request) || !asked)
        return std::nullopt;
    for (const bool gzipped : {false, true}) {
        std::string tag = version_tag(version, gzipped);
        // "*" is not taken here: it asks whether anything is at the target,
        // which only making the answer tells (a run that is not there).
        bool named = false;
        for (std::string_view rest = *asked; !rest.empty() && !named;) {
            const std::string_view given = next_element(rest);
            named = !given.empty() && opaque(given) == opaque(tag);
        }
        if (!named)
            continue;
        Response kept;
        kept.status = 304;
        kept.content_type.clear(); // the kept answer's stays
        kept.headers.emplace_back("Vary", "Accept-Encoding");
        kept.headers.emplace_back("ETag", std::move(tag));
        return kept;
    }
    return std::nullopt;
}

std::string entity_tag(std::string_view body, bool gzipped) {
    // CRC-32 and the length: cheap beside making the page, and a change
    // that kept both would have to keep the length to the byte.
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::size_t at = 0; at < body.size();) {
        const auto n = static_cast<uInt>(std::min<std::size_t>(body.size() - at, 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(body.data() + at), n);
        at += n;
    }
    char text[48];
    std::snprintf(text, sizeof text, "\"%08lx-%zx%s\"", crc, body.size(), gzipped ? "-gz" : "");
    return text;
}

bool names_tag(std::string_view if_none_match, std::string_view tag) {
    for (std::string_view rest = if_none_match; !rest.empty();) {
        const std::string_view given = next_element(rest);
        if (given == "*" || (!given.empty() && opaque(given) == opaque(tag)))
            return true;
    }
    return false;
}

Response coded_for(const Request& request, Response answer, BytesCache<std::string>* gzipped) {
    if (answer.status >= 400)
        answer.cache_control = "no-store";
    // A long answer is made as it is sent: no tag, range or gzip of it.
    if (answer.status != 200 || !reads(request) || answer.stream)
        return answer;
    const bool compressible = worth_compressing(answer.content_type, answer.body.size());
    const bool gzip = compressible && accepts_gzip(request.header("Accept-Encoding").value_or(""));
    if (compressible)
        answer.headers.emplace_back("Vary", "Accept-Encoding");
    // Both forms' tags are of the same bytes: a client keeps the form it got.
    const bool versioned = !answer.version.empty();
    const std::string plain_tag =
        versioned ? version_tag(answer.version, false) : entity_tag(answer.body, false);
    const std::string gzip_tag =
        versioned ? version_tag(answer.version, true) : entity_tag(answer.body, true);
    if (const auto asked = request.header("If-None-Match");
        asked && (names_tag(*asked, plain_tag) || names_tag(*asked, gzip_tag))) {
        answer.status = 304;
        answer.body.clear();
        answer.headers.emplace_back("ETag", gzip ? gzip_tag : plain_tag);
        return answer;
    }
    const auto size = static_cast<std::uint64_t>(answer.body.size());
    if (answer.ranges && size > SMALLEST_RANGED_BODY) {
        answer.headers.emplace_back("Accept-Ranges", "bytes");
        if (const auto range = request.header("Range")) {
            const RangeAnswer part = range_answer(*range, size);
            if (const auto* cut = std::get_if<PartOfBody>(&part)) {
                answer.status = 206;
                answer.headers.emplace_back("ETag", plain_tag);
                answer.headers.emplace_back("Content-Range", content_range(*cut, size));
                answer.body = answer.body.substr(cut->first, cut->last - cut->first + 1);
                return answer;
            }
            if (std::holds_alternative<RangeNotSatisfiable>(part)) {
                answer.status = 416;
                answer.headers.emplace_back("Content-Range", unsatisfied_range(size));
                answer.body.clear();
                return answer;
            }
        }
    }
    if (gzip) {
        const bool kept = gzipped && answer.ranges;
        std::shared_ptr<const std::string> packed = kept ? gzipped->find(gzip_tag) : nullptr;
        if (!packed)
            if (auto made = gzip_body(answer.body)) {
                packed = std::make_shared<const std::string>(std::move(*made));
                if (kept)
                    gzipped->keep(gzip_tag, packed);
            }
        if (packed) {
            answer.body = *packed;
            answer.headers.emplace_back("Content-Encoding", "gzip");
            answer.headers.emplace_back("ETag", gzip_tag);
            return answer;
        }
    }
    answer.headers.emplace_back("ETag", plain_tag);
    return answer;
}

} // namespace board::http
