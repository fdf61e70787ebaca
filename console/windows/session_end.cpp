#include "console/windows/session_end.hpp"

#include "console/native.hpp"

#include <windows.h>

#include <atomic>

namespace console {
namespace {

std::atomic<bool> requested{false};

// Manual reset: every wait after the request sees it, until a new session.
HANDLE wake_event() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

} // namespace

void request_session_end() {
    requested.store(true);
    SetEvent(wake_event());
}

void clear_session_end() {
    requested.store(false);
    ResetEvent(wake_event());
}

bool session_end_requested() {
    return requested.load();
}

void end_if_requested() {
    if (requested.load())
        throw SessionEnded{100};
}

bool wait_or_end(void* handle, unsigned long ms) {
    end_if_requested();
    const HANDLE wake = wake_event();
    const HANDLE both[] = {wake, handle};
    const DWORD count = handle != nullptr && handle != INVALID_HANDLE_VALUE ? 2 : 1;
    const DWORD woke = WaitForMultipleObjects(count, both, FALSE, ms);
    end_if_requested();
    return woke == WAIT_OBJECT_0 + 1;
}

} // namespace console
