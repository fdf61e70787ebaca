// An Accept-Encoding header a stranger sends. Whatever the bytes, no crash
// or sanitizer's report; gzip refused anywhere in the list stays refused,
// and an element naming another coding changes nothing.
#include "fuzz/fault.hpp"
#include "server/http/accept_encoding.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using board::http::accepts_gzip;
    const std::string header(reinterpret_cast<const char*>(data), size);
    const bool taken = accepts_gzip(header);
    if (accepts_gzip("gzip;q=0, " + header) || accepts_gzip(header + ",x-gzip;q=0"))
        fault("gzip taken where the list refuses it");
    if (accepts_gzip(header + ", identity;q=0.5") != taken)
        fault("another coding changed whether gzip is taken");
    return 0;
}
