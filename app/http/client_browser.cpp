// In the page, a board is reached with fetch(): the page's policy lets it
// reach only the host it came from, and the browser's own settings choose
// the proxy and check the certificates. The program waits for the answer
// as it waits anywhere in the page, giving the page its turns.
#include "app/http/client.hpp"
#include "app/http/page_exchange.hpp"

#include <emscripten.h>

namespace http {
namespace {

// How often the program looks whether the answer came.
constexpr unsigned LOOK_EVERY_MS = 5;

} // namespace

Outcome send(const Request& request, TimeLimits limits) {
    PageExchange exchange(request, limits);
    for (;;) {
        if (auto outcome = exchange.outcome())
            return *outcome;
        emscripten_sleep(LOOK_EVERY_MS);
    }
}

} // namespace http
