#include "console/browser/page_bridge.hpp"

#include <emscripten.h>

// The page's side, set on the module by its script. A page without one of
// them still runs the game: the call does nothing.
// clang-format off
EM_JS(void, orbitrix_page_write, (const char* bytes, int size), {
    if (Module.orbitrixWrite) Module.orbitrixWrite(HEAPU8.slice(bytes, bytes + size));
});
EM_JS(int, orbitrix_page_read, (unsigned char* into, int room), {
    return Module.orbitrixRead ? Module.orbitrixRead(HEAPU8.subarray(into, into + room)) : 0;
});
EM_JS(double, orbitrix_page_now, (), { return performance.now(); });
EM_JS(void, orbitrix_page_tone, (int hz, int ms), {
    if (Module.orbitrixTone) Module.orbitrixTone(hz, ms);
});
EM_JS(int, orbitrix_page_visible, (), {
    return typeof document === "undefined" || !document.hidden ? 1 : 0;
});
// clang-format on

namespace console::browser {

void write_terminal(std::string_view bytes) {
    if (!bytes.empty())
        orbitrix_page_write(bytes.data(), static_cast<int>(bytes.size()));
}

std::size_t read_typed(std::uint8_t* into, std::size_t room) {
    return static_cast<std::size_t>(orbitrix_page_read(into, static_cast<int>(room)));
}

std::int64_t page_now_ms() {
    return static_cast<std::int64_t>(orbitrix_page_now());
}

void sound_tone(int hz, int ms) {
    orbitrix_page_tone(hz, ms);
}

void yield_to_page(int ms) {
    emscripten_sleep(static_cast<unsigned>(ms > 0 ? ms : 0));
}

bool page_visible() {
    return orbitrix_page_visible() != 0;
}

} // namespace console::browser
