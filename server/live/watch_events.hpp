#pragma once
// What a watcher's stream carries, as Server-Sent Events in the form the
// page's player reads (its "eventsource" driver): first the terminal's size
// and the whole screen, then each piece of output at the stream's time, in
// seconds, and at the end an event that says the game is over.

#include <string>
#include <string_view>

namespace live {

// {"cols":80,"rows":50,"time":T,"init":"..."}
std::string screen_event(int columns, int rows, double seconds, std::string_view whole);
// [T, "o", "..."]
std::string output_event(double seconds, std::string_view bytes);
std::string done_event();
// A comment line: keeps proxies and the connection from giving up on a
// game that stands still.
std::string heartbeat_event();

} // namespace live
