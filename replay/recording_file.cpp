#include "replay/recording_file.hpp"

#include "replay/line_format.hpp"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace replay {
namespace {

constexpr std::string_view MAGIC = "orbitrix replay ";

std::optional<Refusal> check_header(std::string_view line) {
    if (line.substr(0, MAGIC.size()) != MAGIC)
        return Refusal{1, "not an orbitrix replay: no 'orbitrix replay' header"};
    const std::string_view number = line.substr(MAGIC.size());
    int version = 0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), version);
    if (number.empty() || error != std::errc{} || end != number.data() + number.size() ||
        version < 1)
        return Refusal{1, "the header's format version is not a number"};
    if (version > FORMAT_VERSION) {
        // Appended: g++ 12 sees a false overlap in "literal" + string.
        std::string later = "format version ";
        later += number;
        later += " is later than this program reads (";
        later += std::to_string(FORMAT_VERSION);
        later += ")";
        return Refusal{1, later};
    }
    return std::nullopt;
}

} // namespace

std::variant<Recording, Refusal> read_recording(std::string_view text) {
    Recording recording;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            // A write that a crash cut off: the recording ends before it.
            recording.cut_short = true;
            break;
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (number == 1) {
            if (auto refusal = check_header(line))
                return *refusal;
        } else if (number == 2) {
            if (line.substr(0, 9) != "orbitrix " || line.size() == 9)
                return Refusal{2, "the second line names the recording program's version and "
                                  "platform"};
            recording.made_by = line.substr(9);
        } else {
            auto event = parse_event(line);
            if (auto* what = std::get_if<std::string>(&event))
                return Refusal{number, *what};
            recording.events.push_back(std::get<Event>(std::move(event)));
        }
        recording.last_line = number;
    }
    if (number == 0)
        return Refusal{1, "not an orbitrix replay: no 'orbitrix replay' header"};
    if (number == 1)
        return Refusal{2, "the second line names the recording program's version and platform"};
    return recording;
}

std::variant<Recording, Refusal> load_recording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Refusal{0, std::string("cannot be read: ") + std::strerror(errno)};
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return Refusal{0, "cannot be read"};
    return read_recording(text);
}

std::string refusal_message(const std::string& path, const Refusal& refusal) {
    std::string where = "orbitrix: " + path;
    if (refusal.line > 0)
        where += " line " + std::to_string(refusal.line);
    return where + ": " + refusal.what;
}

} // namespace replay
