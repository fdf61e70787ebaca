#include "server/http/answer_coding.hpp"

#include "server/http/accept_encoding.hpp"
#include "server/http/byte_range.hpp"
#include "server/http/gzip_body.hpp"

namespace board::http {
namespace {

bool reads(const Request& request) {
    return request.method == "GET" || request.method == "HEAD";
}

} // namespace

Response coded_for(const Request& request, Response answer) {
    if (answer.status != 200 || !reads(request))
        return answer;
    const auto size = static_cast<std::uint64_t>(answer.body.size());
    if (answer.ranges && size > SMALLEST_RANGED_BODY) {
        answer.headers.emplace_back("Accept-Ranges", "bytes");
        if (const auto range = request.header("Range")) {
            const RangeAnswer part = range_answer(*range, size);
            if (const auto* cut = std::get_if<PartOfBody>(&part)) {
                answer.status = 206;
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
    if (!worth_compressing(answer.content_type, answer.body.size()))
        return answer;
    answer.headers.emplace_back("Vary", "Accept-Encoding");
    if (!accepts_gzip(request.header("Accept-Encoding").value_or("")))
        return answer;
    if (auto gzipped = gzip_body(answer.body)) {
        answer.body = std::move(*gzipped);
        answer.headers.emplace_back("Content-Encoding", "gzip");
    }
    return answer;
}

} // namespace board::http
