#pragma once
// What the session does with the console's events while it runs: Ctrl-C,
// Ctrl-Break and a closed window end it the normal way (session_end.hpp),
// everything else is left to the next handler. Named here so that a test can
// deliver an event the console gives it no way to send, a closed window.

#include <windows.h>

namespace console {

BOOL WINAPI on_console_event(DWORD event);

} // namespace console
