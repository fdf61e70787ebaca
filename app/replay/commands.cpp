#include "app/replay/commands.hpp"

#include "replay/asciicast.hpp"
#include "replay/recording_file.hpp"
#include "replay/verify.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace replay {
namespace {

constexpr int REFUSED = 2;
constexpr std::string_view STANDARD_INPUT = "-";

std::variant<Recording, Refusal> read_standard_input() {
    const std::string text{std::istreambuf_iterator<char>(std::cin),
                           std::istreambuf_iterator<char>()};
    if (std::cin.bad())
        return Refusal{0, "cannot be read"};
    return read_recording(text);
}

const Recording* loaded_or_refused(const std::string& path,
                                   const std::variant<Recording, Refusal>& loaded) {
    if (const auto* refusal = std::get_if<Refusal>(&loaded)) {
        std::cerr << refusal_message(path, *refusal) << std::endl;
        return nullptr;
    }
    return &std::get<Recording>(loaded);
}

} // namespace

bool open_recording(const std::string& path, std::ofstream& out) {
    out.open(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "orbitrix: " << path << ": cannot be written: " << std::strerror(errno)
                  << std::endl;
        return false;
    }
    return true;
}

std::optional<Recording> load_or_refuse(const std::string& path) {
    auto loaded = load_recording(path);
    if (loaded_or_refused(path, loaded) == nullptr)
        return std::nullopt;
    return std::get<Recording>(std::move(loaded));
}

void say_if_ended_early(const std::string& path, const Recording& recording, bool ran_out) {
    if (ran_out || recording.cut_short)
        std::cerr << "orbitrix: " << path << " line " << recording.last_line
                  << ": the recording ends here, cut short: the replay ended early" << std::endl;
}

int verify_file(const std::string& path) {
    const auto loaded = load_recording(path);
    const Recording* recording = loaded_or_refused(path, loaded);
    if (recording == nullptr)
        return REFUSED;
    return verify_recording(*recording, path, std::cout, std::cerr);
}

int export_file(const std::string& path, std::ostream& out) {
    const bool from_input = path == STANDARD_INPUT;
    const std::string name = from_input ? "standard input" : path;
    const auto loaded = from_input ? read_standard_input() : load_recording(path);
    const Recording* recording = loaded_or_refused(name, loaded);
    if (recording == nullptr)
        return REFUSED;
    auto cast = asciicast(*recording, name);
    if (const auto* refusal = std::get_if<CastRefusal>(&cast)) {
        std::cerr << refusal->message << std::flush;
        return refusal->status;
    }
    out << std::get<std::string>(cast) << std::flush;
    return out ? 0 : 1;
}

} // namespace replay
