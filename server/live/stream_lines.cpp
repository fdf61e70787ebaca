#include "server/live/stream_lines.hpp"

#include "replay/line_format.hpp"
#include "replay/recording_file.hpp"

namespace live {

std::variant<std::vector<replay::Event>, std::string> StreamLines::read(std::string_view lines,
                                                                        bool first) {
    if (!lines.empty() && lines.back() != '\n')
        return std::string("the batch ends inside a line");
    if (first) {
        auto read = replay::read_recording(lines);
        if (const auto* refused = std::get_if<replay::Refusal>(&read))
            return "line " + std::to_string(refused->line) + ": " + refused->what;
        auto& recording = std::get<replay::Recording>(read);
        if (!replay::replays_identically(recording.made_by))
            return "recorded by orbitrix " + recording.made_by +
                   ", whose game this board does not replay";
        return std::move(recording.events);
    }
    std::vector<replay::Event> events;
    int number = 0;
    while (!lines.empty()) {
        const auto end = lines.find('\n');
        std::string_view line = lines.substr(0, end);
        lines.remove_prefix(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        auto event = replay::parse_event(line);
        if (const auto* what = std::get_if<std::string>(&event))
            return "line " + std::to_string(number) + " of the batch: " + *what;
        events.push_back(std::get<replay::Event>(std::move(event)));
    }
    return events;
}

} // namespace live
