#include "server/live/watch_events.hpp"

#include <nlohmann/json.hpp>

namespace live {
namespace {

using nlohmann::json;

std::string data_of(const json& value) {
    // The terminal's bytes are UTF-8; any that are not are replaced rather
    // than thrown on.
    return "data: " + value.dump(-1, ' ', false, json::error_handler_t::replace) + "\n\n";
}

} // namespace

std::string screen_event(int columns, int rows, double seconds, std::string_view whole) {
    return data_of(json{{"cols", columns}, {"rows", rows}, {"time", seconds}, {"init", whole}});
}

std::string output_event(double seconds, std::string_view bytes) {
    return data_of(json::array({seconds, "o", bytes}));
}

std::string done_event() {
    return "event: done\ndata: {}\n\n";
}

std::string heartbeat_event() {
    return ": still here\n\n";
}

} // namespace live
