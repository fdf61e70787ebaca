#include "app/http/client.hpp"

#include <curl/curl.h>

#include <memory>

namespace http {
namespace {

struct EasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::size_t append_body(char* data, std::size_t size, std::size_t count, void* to) {
    auto& body = *static_cast<std::string*>(to);
    if (body.size() + size * count > MOST_ANSWER_BYTES)
        return 0; // libcurl ends the transfer with a write error
    body.append(data, size * count);
    return size * count;
}

std::size_t note_header(char* data, std::size_t size, std::size_t count, void* to) {
    const std::string_view line(data, size * count);
    constexpr std::string_view NAME = "retry-after:";
    if (line.size() > NAME.size()) {
        bool named = true;
        for (std::size_t i = 0; i < NAME.size() && named; ++i)
            named = (line[i] | 0x20) == NAME[i];
        if (named) {
            std::string_view value = line.substr(NAME.size());
            const auto first = value.find_first_not_of(" \t");
            const auto last = value.find_last_not_of(" \t\r\n");
            if (first != std::string_view::npos)
                static_cast<Response*>(to)->retry_after =
                    std::string(value.substr(first, last - first + 1));
        }
    }
    return size * count;
}

} // namespace

Outcome send(const Request& request, TimeLimits limits) {
    const std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl)
        return Failure{"libcurl could not start"};
    Response response;
    char error[CURL_ERROR_SIZE] = {};
    std::unique_ptr<curl_slist, ListDeleter> headers;
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "orbitrix/" ORBITRIX_VERSION);
    // A board is never reached through a redirect or any scheme but these.
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, append_body);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, note_header);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &response);
    if (request.method == "POST") {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        if (!request.content_type.empty()) {
            const std::string line = "Content-Type: " + request.content_type;
            headers.reset(curl_slist_append(nullptr, line.c_str()));
            // No "Expect: 100-continue" round trip before the body.
            if (headers)
                curl_slist_append(headers.get(), "Expect:");
            curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
        }
    }
    const CURLcode code = curl_easy_perform(c);
    if (code == CURLE_WRITE_ERROR)
        return Failure{"the answer is longer than any board's"};
    if (code != CURLE_OK)
        return Failure{error[0] != '\0' ? error : curl_easy_strerror(code)};
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    return response;
}

} // namespace http
