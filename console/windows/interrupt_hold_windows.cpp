#include "console/interrupt_hold.hpp"

#include <windows.h>

#include <atomic>

namespace console {
namespace {

std::atomic<bool> came{false};

// A session's own handler, added later, is asked first; this one answers
// what comes before the session and after it. A closed window is left to
// the system, which ends the process whatever a handler does.
BOOL WINAPI hold(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    came.store(true);
    return TRUE;
}

} // namespace

InterruptHold::InterruptHold() {
    came.store(false);
    SetConsoleCtrlHandler(hold, TRUE);
}

InterruptHold::~InterruptHold() {
    SetConsoleCtrlHandler(hold, FALSE);
}

bool InterruptHold::interrupted() const {
    return came.load();
}

} // namespace console
