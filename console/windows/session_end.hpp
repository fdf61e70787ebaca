#pragma once
// Ctrl-C, Ctrl-Break and a closed window arrive on a thread the console
// starts, while the game's thread may be asleep, sounding a tone or waiting
// for a key. The console's thread only asks for the end here; the game's
// thread ends the session itself at its next wait, so the runner gives the
// console back and the program goes on to its normal way out.

namespace console {

// From any thread: the session is to end. Wakes the game's thread.
void request_session_end();
// A new session starts with no end asked for.
void clear_session_end();
bool session_end_requested();

// Throws SessionEnded{100} once the end is asked for.
void end_if_requested();
// Waits up to `ms` milliseconds for `handle`, or, when it is null, only lets
// the time pass; returns whether the handle was signalled. Asking for the end
// cuts the wait short and throws SessionEnded{100}.
bool wait_or_end(void* handle, unsigned long ms);

} // namespace console
