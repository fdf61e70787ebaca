// The table's lock in a web page, where two tabs share one IndexedDB: a Web
// Lock taken for the read, merge and write of the table, with the file
// system loaded afresh from IndexedDB once it is held, and saved back to it
// before it is let go. The page mounts the home folder from IndexedDB
// before the program starts (server/web/play.js).
#include "app/scores/files.hpp"

#include <emscripten.h>
#include <utility>

// clang-format off
// Asks for the lock; its state then says pending (0), held and loaded (1),
// or held by another tab (2).
EM_JS(void, orbitrix_scores_ask, (), {
    Module.orbitrixScoresState = 0;
    const load = () => Module.FS.syncfs(true, () => { Module.orbitrixScoresState = 1; });
    if (!(typeof navigator !== "undefined" && navigator.locks)) { load(); return; }
    navigator.locks.request("orbitrix-scores", { ifAvailable: true }, (lock) => {
        if (!lock) { Module.orbitrixScoresState = 2; return undefined; }
        return new Promise((release) => {
            Module.orbitrixScoresRelease = release;
            load();
        });
    });
});
EM_JS(int, orbitrix_scores_state, (), { return Module.orbitrixScoresState | 0; });
// Saved, then let go; the program need not wait for either.
EM_JS(void, orbitrix_scores_unlock, (), {
    const release = Module.orbitrixScoresRelease;
    Module.orbitrixScoresRelease = undefined;
    Module.FS.syncfs(false, () => { if (release) release(); });
});
// clang-format on

namespace scores::files {
namespace {

constexpr int PENDING = 0;
constexpr int HELD = 1;
constexpr unsigned LOOK_EVERY_MS = 5;

} // namespace

Lock::Lock(Lock&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

Lock::~Lock() {
    if (handle_ < 0)
        return;
    orbitrix_scores_unlock();
    // The table's fsync waited on IndexedDB, and the program may end soon
    // after: it goes on from a timer, where the page's runtime takes an
    // exit in stride, and not from an IndexedDB callback, where it would
    // be an uncaught error.
    emscripten_sleep(0);
}

Lock::Try Lock::take(const std::string& lock_file) {
    orbitrix_scores_ask();
    int state = PENDING;
    while ((state = orbitrix_scores_state()) == PENDING)
        emscripten_sleep(LOOK_EVERY_MS);
    if (state != HELD)
        return {};
    // Loading the saved folders dropped any made since.
    if (Problem problem = make_parent_directories(lock_file))
        return {std::nullopt, problem};
    return {Lock(1), std::nullopt};
}

} // namespace scores::files
