#include "app/http/page_exchange.hpp"

#include <emscripten.h>

#include <string>

// The page's exchanges by number, each {done, status, body, retry, what}
// once its answer came. A status of 0 is an answer that never came; `what`
// says why. An answer past `most` bytes is cut off there and reported as
// none, as the terminal program's client does.
// clang-format off
EM_JS(int, orbitrix_fetch_start, (const char* method, const char* url, const char* body,
                                  int body_size, const char* type, int total_ms, int most), {
    var table = Module.orbitrixExchanges || (Module.orbitrixExchanges = { next: 1, open: {} });
    var id = table.next++;
    var entry = { done: false, status: 0, body: new Uint8Array(0), retry: null, what: "" };
    table.open[id] = entry;
    var abort = new AbortController();
    entry.abort = abort;
    var timer = setTimeout(function() { abort.abort(); }, total_ms);
    var init = { method: UTF8ToString(method), signal: abort.signal, credentials: "same-origin",
                 cache: "no-store", redirect: "error" };
    if (init.method === "POST") {
        init.body = HEAPU8.slice(body, body + body_size);
        init.headers = { "Content-Type": UTF8ToString(type) };
    }
    var fail = function(what) {
        entry.status = 0; entry.body = new Uint8Array(0); entry.what = what; entry.done = true;
    };
    fetch(UTF8ToString(url), init).then(function(response) {
        var parts = [];
        var size = 0;
        var reader = response.body.getReader();
        var more = function() {
            return reader.read().then(function(read) {
                if (read.done) {
                    var whole = new Uint8Array(size);
                    var at = 0;
                    for (var i = 0; i < parts.length; ++i) { whole.set(parts[i], at); at += parts[i].length; }
                    entry.status = response.status;
                    entry.body = whole;
                    entry.retry = response.headers.get("Retry-After");
                    entry.done = true;
                    return;
                }
                size += read.value.length;
                if (size > most) { abort.abort(); fail("the answer is too long"); return; }
                parts.push(read.value);
                return more();
            });
        };
        return more();
    }).catch(function(error) {
        fail(abort.signal.aborted ? "timed out" : String(error && error.message || error));
    }).finally(function() { clearTimeout(timer); });
    return id;
});
EM_JS(int, orbitrix_fetch_done, (int id), {
    var entry = Module.orbitrixExchanges.open[id];
    return entry && entry.done ? 1 : 0;
});
EM_JS(int, orbitrix_fetch_status, (int id), {
    return Module.orbitrixExchanges.open[id].status;
});
// The body, or why there was none, copied into `into` (room for `room`).
EM_JS(int, orbitrix_fetch_size, (int id), {
    var entry = Module.orbitrixExchanges.open[id];
    return entry.status ? entry.body.length : lengthBytesUTF8(entry.what);
});
EM_JS(void, orbitrix_fetch_copy, (int id, char* into, int room), {
    var entry = Module.orbitrixExchanges.open[id];
    if (entry.status) HEAPU8.set(entry.body.subarray(0, room), into);
    else stringToUTF8(entry.what, into, room + 1);
});
EM_JS(int, orbitrix_fetch_retry_size, (int id), {
    var retry = Module.orbitrixExchanges.open[id].retry;
    return retry === null ? -1 : lengthBytesUTF8(retry);
});
EM_JS(void, orbitrix_fetch_copy_retry, (int id, char* into, int room), {
    stringToUTF8(Module.orbitrixExchanges.open[id].retry, into, room + 1);
});
EM_JS(void, orbitrix_fetch_forget, (int id), {
    var entry = Module.orbitrixExchanges.open[id];
    if (entry && !entry.done) entry.abort.abort();
    delete Module.orbitrixExchanges.open[id];
});
// clang-format on

namespace http {
namespace {

std::string copied(int size, void (*copy)(int, char*, int), int id) {
    // One more for the terminating zero stringToUTF8 writes.
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    copy(id, text.data(), size);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

} // namespace

PageExchange::PageExchange(const Request& request, TimeLimits limits)
    : id_(orbitrix_fetch_start(request.method.c_str(), request.url.c_str(), request.body.data(),
                               static_cast<int>(request.body.size()), request.content_type.c_str(),
                               static_cast<int>(limits.total.count()),
                               static_cast<int>(MOST_ANSWER_BYTES))) {}

PageExchange::~PageExchange() {
    orbitrix_fetch_forget(id_);
}

std::optional<Outcome> PageExchange::outcome() {
    if (orbitrix_fetch_done(id_) == 0)
        return std::nullopt;
    const std::string body = copied(orbitrix_fetch_size(id_), orbitrix_fetch_copy, id_);
    const int status = orbitrix_fetch_status(id_);
    if (status == 0)
        return Outcome{Failure{body}};
    Response response{status, body};
    if (const int retry = orbitrix_fetch_retry_size(id_); retry >= 0)
        response.retry_after = copied(retry, orbitrix_fetch_copy_retry, id_);
    return Outcome{response};
}

} // namespace http
